// Form1 as the offscreen platform builds it: pixel geometry at 96 DPI, fonts, colours and alignment
// as rendered, pictures, and the state at start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRegion>
#include <QScreen>
#include <map>

#include "app/layout.h"
#include "app/qt/form1_window.h"
#include "app/qt/pictures.h"
#include "platform/utf.h"

namespace addrvue::qt {
namespace {

class WindowLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (QGuiApplication::primaryScreen()->logicalDotsPerInch() != 96.0) {
      GTEST_SKIP() << "the pixel sizes below are for a 96 DPI screen";
    }
    window.show();
  }
  QWidget& W(Control c) { return *window.Widget(c); }
  QString Text(Control c) { return W(c).property("text").toString(); }

  Form1Window window;
};

// The controls' places in pixels at 96 DPI, which neither resizing the window nor a caption or text
// longer than its control changes.
TEST_F(WindowLayoutTest, ControlsArePlacedInPixelsAt96DpiAndNeverMove) {
  window.resize(1000, 700);
  QApplication::processEvents();
  window.showMaximized();
  window.SetLabelCaption(ReportLabel::Label7, u"Prim WINS Serv: 192.168.100.200 and more words");
  window.SetText1(std::u16string(300, u'W'));
  QApplication::processEvents();
  for (const auto& [control, rect] :
       std::map<Control, QRect>{{Control::Label1, {0, 16, 673, 49}},
                                {Control::Label3, {208, 72, 241, 25}},
                                {Control::Label7, {240, 160, 177, 25}},
                                {Control::Image1, {24, 96, 64, 64}},
                                {Control::Picture1, {416, 104, 257, 305}},
                                {Control::Text2, {16, 280, 321, 27}},
                                {Control::Command1, {200, 320, 209, 41}},
                                {Control::Text1, {8, 360, 657, 41}}}) {
    EXPECT_EQ(W(control).geometry(), rect) << ToUtf8(layout::Of(control).name);
  }
  EXPECT_EQ(Text(Control::Text1).size(), 300);
}

// Every font is "Times New Roman" as asked; the font configuration must answer with a serif that
// has its metrics and the Cyrillic letters the window shows.
TEST_F(WindowLayoutTest, FontsResolveToATimesCompatibleSerifWithCyrillic) {
  const QString family = QFontInfo(W(Control::Label2).font()).family();
  EXPECT_TRUE(family == "Times New Roman" || family == "Liberation Serif" || family == "Tinos")
      << family.toStdString() << ": install fonts-liberation";
  EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic));
  for (const auto& control : layout::Controls()) {
    if (control.kind == layout::Kind::Timer) {
      continue;
    }
    const layout::Font font = control.font.value_or(layout::Window().font);
    const QFontInfo info(W(control.id).font());
    EXPECT_TRUE(info.family() == family && W(control.id).font().pointSizeF() == font.points &&
                info.bold() == (font.weight == 700) && info.italic() == font.italic)
        << ToUtf8(control.name);
  }
}

TEST_F(WindowLayoutTest, LabelsFillTheirColourAndCentreTheirCaptionsExceptLabel7) {
  for (const auto& control : layout::Controls()) {
    if (control.kind != layout::Kind::Label) {
      continue;
    }
    const std::string name = ToUtf8(control.name);
    const QImage image = W(control.id).grab().toImage();
    const layout::Rgb rgb = *control.background;
    const QRgb background = qRgb(rgb.red, rgb.green, rgb.blue);
    EXPECT_EQ(image.pixel(0, image.height() - 1), background) << name;
    EXPECT_EQ(image.pixel(image.width() - 1, 0), background) << name;
    // The bounding box of the pixels that differ from the background.
    const QRect ink =
        QRegion(QBitmap::fromImage(image.createMaskFromColor(background, Qt::MaskInColor)))
            .boundingRect();
    ASSERT_FALSE(ink.isEmpty()) << name << " shows no caption";
    const int rightMargin = image.width() - 1 - ink.right();
    if (control.id == Control::Label7) {
      EXPECT_LE(ink.left(), 2) << name;
      EXPECT_GT(rightMargin, 10) << name;
    } else {
      // Label3's caption starts with a blank, which moves its ink a little to the right.
      EXPECT_LE(std::abs(ink.left() - rightMargin), 6) << name;
    }
  }
  for (const Control box : {Control::Text1, Control::Text2}) {
    EXPECT_EQ(dynamic_cast<QLineEdit&>(W(box)).alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
  }
}

// The next widget in the focus chain that the Tab key can reach.
QWidget* NextTabStop(QWidget& from) {
  QWidget* next = from.nextInFocusChain();
  while (next != &from && (next->focusPolicy() & Qt::TabFocus) == 0) {
    next = next->nextInFocusChain();
  }
  return next;
}

TEST_F(WindowLayoutTest, StartsWithEmptyText1HiddenPictureAndNoticeAndFocusOnTheButton) {
  EXPECT_TRUE(Text(Control::Text1).isEmpty());
  EXPECT_EQ(Text(Control::Command1), QString::fromUtf16(u"ПОЛУЧАЕМ !"));
  EXPECT_FALSE(W(Control::Text2).isEnabled());
  EXPECT_EQ(Text(Control::Text2), QString::fromUtf16(u"пауза...немая сцена длится минуту"));
  // The tab order is Command1, Text1, Picture1, Text2.
  const std::array order{Control::Command1, Control::Text1, Control::Picture1, Control::Text2};
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_EQ(NextTabStop(W(order.at(i))), window.Widget(order.at((i + 1) % order.size())));
  }
}

TEST_F(WindowLayoutTest, PictureBoxShowsItsBitmapFromTheTopLeftCutOffAtItsBorder) {
  const QImage bitmap = Picture1Bitmap();
  ASSERT_EQ(bitmap.size(), QSize(287, 349));
  auto& box = dynamic_cast<QFrame&>(W(Control::Picture1));
  EXPECT_EQ(box.frameShadow(), QFrame::Sunken);
  box.show();
  const QImage shown = box.grab().toImage();
  const QRect interior = box.contentsRect();
  EXPECT_EQ(interior.size(), QSize(253, 301));
  for (const QPoint p : {QPoint(0, 0), QPoint(100, 50), QPoint(252, 300), QPoint(10, 300)}) {
    EXPECT_EQ(shown.pixelColor(interior.topLeft() + p), bitmap.pixelColor(p))
        << p.x() << "," << p.y();
  }
  // The bitmap's own right-hand border lies beyond the box and is not drawn over the box's border.
  EXPECT_NE(shown.pixelColor(box.width() - 1, 150), bitmap.pixelColor(286, 150));
}

// Image1 and the window show the program's icon, which must be the executable's icon file's.
TEST_F(WindowLayoutTest, TheIconIsImage1TheWindowIconAndTheExecutablesIcon) {
  const QImage icon = ProgramIconImage();
  ASSERT_EQ(icon.size(), QSize(64, 64));
  EXPECT_EQ(W(Control::Image1).grab().toImage().pixelColor(32, 20), icon.pixelColor(32, 20));
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
  EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(64, 64)));
  const QImage ico(QStringLiteral(ADDRVUE_RESOURCES_DIR "/program.ico"));
  ASSERT_FALSE(ico.isNull()) << "Qt's ICO reader plugin (libqt6gui6) could not read the icon";
  // Premultiplied, every fully transparent pixel is the same whatever colour it kept.
  EXPECT_EQ(icon.convertToFormat(QImage::Format_ARGB32_Premultiplied),
            ico.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

}  // namespace
}  // namespace addrvue::qt
