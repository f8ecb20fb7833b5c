#include "app/layout.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace addrvue::layout {
namespace {

constexpr int kCyrillic = 204;
constexpr std::u16string_view kTimes = u"Times New Roman";
constexpr Font kWindowFont{kTimes, 12, 400, true, kCyrillic};
constexpr Font kBold12{kTimes, 12, 700, false, kCyrillic};
constexpr Font kBold1425{kTimes, 14.25, 700, false, kCyrillic};
constexpr Font kRegular1425{kTimes, 14.25, 400, false, kCyrillic};

constexpr WindowLayout kWindow{u"Form1", 10155, 6090, kWindowFont};

using K = Kind;
using A = Align;
using C = Control;
constexpr std::nullopt_t kNone = std::nullopt;

constexpr std::array<ControlLayout, kControlCount> kControls{{
    {C::Text2, u"Text2", K::TextBox, 240, 4200, 4815, 405, u"пауза...немая сцена длится минуту",
     kNone, kNone, A::Center, false, false, 11, 0},
    {C::Timer1, u"Timer1", K::Timer, 0, 0, 0, 0, u"", kNone, kNone, A::Left, true, true, kNone,
     kTimer1IntervalMs},
    {C::Text1, u"Text1", K::TextBox, 120, 5400, 9855, 615, u"", kRegular1425, kNone, A::Center,
     true, true, 4, 0},
    {C::Command1, u"Command1", K::CommandButton, 3000, 4800, 3135, 615, u"ПОЛУЧАЕМ !", kBold12,
     kNone, A::Center, true, true, 0, 0},
    {C::Picture1, u"Picture1", K::PictureBox, 6240, 1560, 3855, 4575, u"", kNone, kNone, A::Left,
     false, true, 8, 0, false, 1},
    {C::Label8, u"Label8", K::Label, 3600, 3000, 2655, 375, u"secondary WINS Server :", kBold12,
     Rgb{255, 128, 255}, A::Center, true, true, 10, 0},
    {C::Label7, u"Label7", K::Label, 3600, 2400, 2655, 375, u"Primary WINS Server:", kBold12,
     Rgb{192, 192, 255}, A::Left, true, true, 9, 0},
    {C::Image1, u"Image1", K::Image, 360, 1440, 960, 960, u"", kNone, kNone, A::Left, true, true,
     kNone, 0},
    {C::Label6, u"Label6", K::Label, 6960, 1080, 3015, 375, u"Точка входа", kBold12,
     Rgb{255, 128, 255}, A::Center, true, true, 7, 0},
    {C::Label5, u"Label5", K::Label, 240, 2400, 3255, 375, u"Маска сети", kBold12,
     Rgb{128, 255, 255}, A::Center, true, true, 6, 0},
    {C::Label4, u"Label4", K::Label, 240, 3000, 3255, 375, u"IP Address", kBold12,
     Rgb{255, 255, 192}, A::Center, true, true, 5, 0},
    {C::Label3, u"Label3", K::Label, 3120, 1080, 3615, 375, u" Физический    адрес", kBold12,
     Rgb{192, 255, 192}, A::Center, true, true, 3, 0},
    {C::Label2, u"Label2", K::Label, 120, 1080, 2895, 375, u"Имя этого ПК", kBold12,
     Rgb{255, 192, 192}, A::Center, true, true, 2, 0, true},
    {C::Label1, u"Label1", K::Label, 0, 240, 10095, 735,
     u"ПОЛУЧЕНИЕ ИНФОРМАЦИИ ПО ИНТЕРНЕТ СОЕДИНЕНИЮ ДЛЯ ДАННОЙ МАШИНЫ", kBold1425, Rgb{0, 255, 0},
     A::Center, true, true, 1, 0},
}};

constexpr bool ListedInEnumOrder() {
  for (std::size_t i = 0; i < kControls.size(); ++i) {
    if (static_cast<std::size_t>(kControls.at(i).id) != i) {
      return false;
    }
  }
  return true;
}
static_assert(ListedInEnumOrder(), "Of() indexes the table by the Control value");

constexpr std::size_t kWithTabIndex = [] {
  std::size_t count = 0;
  for (const auto& control : kControls) {
    count += control.tabIndex ? 1 : 0;
  }
  return count;
}();

constexpr std::array<Control, kWithTabIndex> kTabOrder = [] {
  std::array<Control, kWithTabIndex> order{};
  std::size_t next = 0;
  for (const auto& control : kControls) {
    if (control.tabIndex) {
      order.at(next++) = control.id;
    }
  }
  std::ranges::sort(order, {}, [](Control c) { return *kControls.at(IndexOf(c)).tabIndex; });
  return order;
}();

}  // namespace

const WindowLayout& Window() {
  return kWindow;
}

std::span<const ControlLayout> Controls() {
  return kControls;
}

const ControlLayout& Of(Control control) {
  return kControls.at(IndexOf(control));
}

std::span<const Control> TabOrder() {
  return kTabOrder;
}

}  // namespace addrvue::layout
