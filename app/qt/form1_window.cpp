#include "app/qt/form1_window.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <chrono>
#include <stdexcept>
#include <string>
#include <utility>

#include "app/layout.h"
#include "app/qt/controls.h"
#include "app/qt/message_box.h"
#include "app/qt/pictures.h"
#include "app/qt/text.h"
#include "platform/text/utf.h"

namespace addrvue::qt {
namespace {

std::string NameOf(Control control) {
  return ToUtf8(layout::Of(control).name);
}

}  // namespace

Form1Services SystemServices() {
  const auto start = std::chrono::steady_clock::now();
  return {
      [start] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      },
      EndEventLoop,
  };
}

Form1Window::Form1Window(Form1Services services) : services_(std::move(services)) {
  const layout::WindowLayout& window = layout::Window();
  const int dpi = qRound(screen()->logicalDotsPerInch());
  setWindowTitle(ToQString(window.caption));
  setWindowIcon(ProgramIcon());
  setFont(FontOf(window.font));
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  // No layout manager: resizing the window moves and resizes nothing inside it.
  resize(layout::TwipsToPixels(window.clientWidth, dpi),
         layout::TwipsToPixels(window.clientHeight, dpi));

  for (const auto& control : layout::Controls()) {
    widgets_[control.id] = MakeControl(control, this, dpi);
  }
  QWidget* previous = nullptr;
  for (const Control control : layout::TabOrder()) {
    if (layout::TakesFocus(layout::Of(control).kind)) {
      if (previous != nullptr) {
        setTabOrder(previous, Widget(control));
      }
      previous = Widget(control);
    }
  }

  timer1_.setObjectName(ToQString(layout::Of(Control::Timer1).name));
  timer1_.start(layout::Of(Control::Timer1).timerIntervalMs);
  wake_.setSingleShot(true);

  Existing(Control::Command1).setFocus();
}

void Form1Window::OnCommand1Click(std::function<void()> handler) {
  auto* button = qobject_cast<QAbstractButton*>(&Existing(Control::Command1));
  QObject::connect(button, &QAbstractButton::clicked, this, [this, handler = std::move(handler)] {
    // From the press on, closing the window does not end the program: the handler ends it.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    RunEventHandler(this, handler, services_.end);
  });
}

void Form1Window::ShowCentred() {
  setGeometry(
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));
  show();
  Existing(Control::Command1).setFocus();
}

QWidget* Form1Window::Widget(Control control) const {
  return widgets_[control];
}

QWidget& Form1Window::Existing(Control control) const {
  QWidget* widget = Widget(control);
  if (widget == nullptr) {
    throw std::invalid_argument(NameOf(control) + " is not shown in the window");
  }
  return *widget;
}

void Form1Window::SetVisible(Control control, bool visible) {
  Existing(control).setVisible(visible);
}

double Form1Window::ClockSeconds() {
  return services_.clock();
}

// Handles what is pending, or sleeps until the next event; the wake-up timer makes sure that
// sleep lasts at most maxWait.
void Form1Window::ProcessEvents(std::chrono::milliseconds maxWait) {
  wake_.start(maxWait);
  QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  wake_.stop();
}

void Form1Window::EndProgram() {
  close();
  services_.end(0);
}

void Form1Window::ReplaceCaption(std::u16string_view text) {
  setWindowTitle(ToQString(text));
}

void Form1Window::ReplaceText(Control control, std::u16string_view text) {
  QWidget& widget = Existing(control);
  if (auto* box = qobject_cast<QLineEdit*>(&widget)) {
    box->setText(ToQString(text));
    // The start of a long text stays in view.
    box->setCursorPosition(0);
  } else if (auto* label = qobject_cast<QLabel*>(&widget);
             label != nullptr && layout::Of(control).kind == layout::Kind::Label) {
    label->setText(ToQString(text));
  } else {
    throw std::invalid_argument(NameOf(control) + " has no text to replace");
  }
}

void Form1Window::ShowMessageBox(std::u16string_view text) {
  ShowProgramMessageBox(this, ToQString(text));
}

}  // namespace addrvue::qt
