// Form1 as the offscreen platform builds it: pixel geometry at 96 DPI, fonts, colours and alignment
// as rendered, pictures, and the state at start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBitmap>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QRegion>
#include <QScreen>
#include <vector>

#include "app/layout.h"
#include "app/qt/form1_window.h"
#include "app/qt/pictures.h"
#include "app/qt/text.h"
#include "platform/text/utf.h"

namespace addrvue::qt {
namespace {

class WindowLayoutTest : public ::testing::Test {
 protected:
  void SetUp() override { window.show(); }
  QWidget& W(Control c) { return *window.Widget(c); }
  QString Text(Control c) { return W(c).property("text").toString(); }
  // The layout's twips in pixels at the screen's DPI.
  static int Pixels(int twips) {
    const int dpi = qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
    return layout::TwipsToPixels(twips, dpi);
  }

  Form1Window window;
};

// The controls' places are the layout's at the screen's DPI, which neither resizing the window nor
// a caption or text longer than its control changes.
TEST_F(WindowLayoutTest, ControlsArePlacedAsTheLayoutSaysAndNeverMove) {
  window.resize(1000, 700);
  QApplication::processEvents();
  window.showMaximized();
  window.SetLabelCaption(ReportLabel::Label7, u"Prim WINS Serv: 192.168.100.200 and more words");
  window.SetText1(std::u16string(300, u'W'));
  QApplication::processEvents();
  for (const auto& control : layout::Controls()) {
    if (control.kind != layout::Kind::Timer) {
      EXPECT_EQ(W(control.id).geometry(), QRect(Pixels(control.left), Pixels(control.top),
                                                Pixels(control.width), Pixels(control.height)))
          << ToUtf8(control.name);
    }
  }
  EXPECT_EQ(Text(Control::Text1).size(), 300);
}

// At 96 DPI the window and its controls have the pixel places of the checked copy, so that a
// change to the layout's own table shows too.
TEST_F(WindowLayoutTest, PlacesAt96DpiMatchTheCheckedCopy) {
  if (QGuiApplication::primaryScreen()->logicalDotsPerInch() != 96.0) {
    GTEST_SKIP() << "the checked places are those of a 96 DPI screen";
  }
  QString shown = QStringLiteral("Form1 %1 %2\n").arg(window.width()).arg(window.height());
  for (const auto& control : layout::Controls()) {
    if (control.kind != layout::Kind::Timer) {
      const QRect r = W(control.id).geometry();
      shown += QStringLiteral("%1 %2 %3 %4 %5\n")
                   .arg(ToQString(control.name))
                   .arg(r.x())
                   .arg(r.y())
                   .arg(r.width())
                   .arg(r.height());
    }
  }
  QFile checked(QStringLiteral(ADDRVUE_GUI_PLACES_FILE));
  ASSERT_TRUE(checked.open(QIODevice::ReadOnly | QIODevice::Text));
  EXPECT_EQ(shown.toStdString(), checked.readAll().toStdString());
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

TEST_F(WindowLayoutTest, LabelsFillTheirColourAndAlignTheirCaptionsAsTheLayoutSays) {
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
    if (control.align == layout::Align::Left) {
      EXPECT_LE(ink.left(), 2) << name;
      EXPECT_GT(rightMargin, 10) << name;
    } else {
      // Label3's caption starts with a blank, which moves its ink a little to the right.
      EXPECT_LE(std::abs(ink.left() - rightMargin), 6) << name;
    }
  }
  for (const Control box : {Control::Text1, Control::Text2}) {
    EXPECT_EQ(dynamic_cast<QLineEdit&>(W(box)).alignment() & Qt::AlignHorizontal_Mask,
              layout::Of(box).align == layout::Align::Left ? Qt::AlignLeft : Qt::AlignHCenter);
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

// Every control starts with the layout's text, shown or hidden and enabled or not as it says; the
// Tab key goes round the controls that take the focus in the layout's tab order.
TEST_F(WindowLayoutTest, StartsAsTheLayoutSaysAndTabsInItsOrder) {
  std::vector<QWidget*> tabStops;
  for (const Control control : layout::TabOrder()) {
    if (layout::TakesFocus(layout::Of(control).kind)) {
      tabStops.push_back(window.Widget(control));
    }
  }
  for (const auto& control : layout::Controls()) {
    if (control.kind == layout::Kind::Timer) {
      continue;
    }
    const QWidget& widget = W(control.id);
    if (control.kind != layout::Kind::PictureBox && control.kind != layout::Kind::Image) {
      EXPECT_EQ(Text(control.id), ToQString(control.text)) << ToUtf8(control.name);
    }
    EXPECT_TRUE(widget.isHidden() == !control.visible && widget.isEnabled() == control.enabled)
        << ToUtf8(control.name);
  }
  ASSERT_FALSE(tabStops.empty());
  for (std::size_t i = 0; i < tabStops.size(); ++i) {
    EXPECT_EQ(NextTabStop(*tabStops.at(i)), tabStops.at((i + 1) % tabStops.size()));
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
  const QPoint last(interior.width() - 1, interior.height() - 1);
  for (const QPoint p : {QPoint(0, 0), QPoint(100, 50), last, QPoint(10, last.y())}) {
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
