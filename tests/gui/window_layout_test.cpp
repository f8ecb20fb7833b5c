// Form1 as the offscreen platform builds it: pixel geometry at 96 DPI, fonts, colours and alignment
// as rendered, pictures, and the state at start.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <map>
#include <string>

#include "app/layout.h"
#include "app/qt/form1_window.h"
#include "app/qt/picture_box.h"
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
  template <class T>
  T& As(Control c) {
    return dynamic_cast<T&>(*window.Widget(c));
  }

  Form1Window window;
};

TEST_F(WindowLayoutTest, ClientAreaAndControlsArePlacedInPixelsAt96Dpi) {
  EXPECT_EQ(window.size(), QSize(677, 406));
  EXPECT_EQ(W(Control::Label1).geometry(), QRect(0, 16, 673, 49));
  EXPECT_EQ(W(Control::Label3).geometry(), QRect(208, 72, 241, 25));
  EXPECT_EQ(W(Control::Label7).geometry(), QRect(240, 160, 177, 25));
  EXPECT_EQ(W(Control::Image1).geometry(), QRect(24, 96, 64, 64));
  EXPECT_EQ(W(Control::Picture1).geometry(), QRect(416, 104, 257, 305));
  EXPECT_EQ(W(Control::Text2).geometry(), QRect(16, 280, 321, 27));
  EXPECT_EQ(W(Control::Command1).geometry(), QRect(200, 320, 209, 41));
  EXPECT_EQ(W(Control::Text1).geometry(), QRect(8, 360, 657, 41));
  EXPECT_EQ(window.Widget(Control::Timer1), nullptr);
  EXPECT_EQ(window.windowTitle(), "Form1");
}

TEST_F(WindowLayoutTest, ResizingOrMaximisingMovesNothing) {
  std::map<Control, QRect> before;
  for (const auto& control : layout::Controls()) {
    if (QWidget* w = window.Widget(control.id)) {
      before[control.id] = w->geometry();
    }
  }
  window.resize(1000, 700);
  QApplication::processEvents();
  window.resize(300, 200);
  QApplication::processEvents();
  window.showMaximized();
  QApplication::processEvents();
  for (const auto& [id, rect] : before) {
    EXPECT_EQ(window.Widget(id)->geometry(), rect) << ToUtf8(layout::Of(id).name);
  }
}

// Every font is "Times New Roman" as asked; the font configuration must answer with a serif that
// has its metrics and the Cyrillic letters the window shows.
TEST_F(WindowLayoutTest, FontsResolveToATimesCompatibleSerifWithCyrillic) {
  const QFont font = W(Control::Label2).font();
  const QFontInfo info(font);
  const QString family = info.family();
  EXPECT_TRUE(family == "Times New Roman" || family == "Liberation Serif" || family == "Tinos")
      << family.toStdString() << ": install fonts-liberation";
  EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Cyrillic));
  for (const Control c :
       {Control::Label1, Control::Label3, Control::Command1, Control::Text1, Control::Text2}) {
    const QFontMetrics metrics(W(c).font());
    EXPECT_TRUE(metrics.inFont(QChar(u'Ж')));
    EXPECT_TRUE(metrics.inFont(QChar(u'ё')));
    EXPECT_EQ(QFontInfo(W(c).font()).family(), family);
  }
  EXPECT_TRUE(QFontInfo(W(Control::Command1).font()).bold());
  EXPECT_FALSE(QFontInfo(W(Control::Command1).font()).italic());
  EXPECT_DOUBLE_EQ(W(Control::Command1).font().pointSizeF(), 12.0);
  EXPECT_DOUBLE_EQ(W(Control::Label1).font().pointSizeF(), 14.25);
  EXPECT_FALSE(QFontInfo(W(Control::Text1).font()).bold());
  // Text2 uses the window's font: regular italic 12.
  EXPECT_TRUE(QFontInfo(W(Control::Text2).font()).italic());
  EXPECT_FALSE(QFontInfo(W(Control::Text2).font()).bold());
  EXPECT_DOUBLE_EQ(W(Control::Text2).font().pointSizeF(), 12.0);
}

// The first and last columns of a rendered label that differ from its background.
std::pair<int, int> InkColumns(const QImage& image, QColor background) {
  int first = image.width();
  int last = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) != background) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
    }
  }
  return {first, last};
}

TEST_F(WindowLayoutTest, LabelsFillTheirColourAndCentreTheirCaptionsExceptLabel7) {
  for (const auto& control : layout::Controls()) {
    if (control.kind != layout::Kind::Label) {
      continue;
    }
    const std::string name = ToUtf8(control.name);
    const QImage image = W(control.id).grab().toImage();
    const layout::Rgb rgb = *control.background;
    const QColor background(rgb.red, rgb.green, rgb.blue);
    EXPECT_EQ(image.pixelColor(0, image.height() - 1), background) << name;
    EXPECT_EQ(image.pixelColor(image.width() - 1, 0), background) << name;
    const auto [first, last] = InkColumns(image, background);
    ASSERT_LE(first, last) << name << " shows no caption";
    const int leftMargin = first;
    const int rightMargin = image.width() - 1 - last;
    if (control.id == Control::Label7) {
      EXPECT_LE(leftMargin, 2) << name;
      EXPECT_GT(rightMargin, 10) << name;
    } else {
      // Label3's caption starts with a blank, which moves its ink a little to the right.
      EXPECT_LE(std::abs(leftMargin - rightMargin), 6) << name;
    }
  }
  EXPECT_EQ(As<QLabel>(Control::Label3).text(), QString::fromUtf16(u" Физический    адрес"));
  EXPECT_EQ(As<QLineEdit>(Control::Text1).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_EQ(As<QLineEdit>(Control::Text2).alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

// A caption wider than its label is cut: the label keeps its place and size.
TEST_F(WindowLayoutTest, ALongCaptionNeverResizesItsLabel) {
  const QRect before = W(Control::Label7).geometry();
  window.SetLabelCaption(ReportLabel::Label7,
                         u"Prim WINS Serv: 192.168.100.200 and more words after");
  QApplication::processEvents();
  EXPECT_EQ(W(Control::Label7).geometry(), before);
  window.SetText1(std::u16string(300, u'W'));
  QApplication::processEvents();
  EXPECT_EQ(W(Control::Text1).geometry(), QRect(8, 360, 657, 41));
  EXPECT_EQ(As<QLineEdit>(Control::Text1).text().size(), 300);
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
  EXPECT_TRUE(As<QLineEdit>(Control::Text1).text().isEmpty());
  EXPECT_TRUE(W(Control::Text1).isVisible());
  EXPECT_TRUE(W(Control::Command1).isVisible());
  EXPECT_EQ(As<QPushButton>(Control::Command1).text(), QString::fromUtf16(u"ПОЛУЧАЕМ !"));
  EXPECT_FALSE(W(Control::Text2).isVisible());
  EXPECT_FALSE(W(Control::Text2).isEnabled());
  EXPECT_EQ(As<QLineEdit>(Control::Text2).text(),
            QString::fromUtf16(u"пауза...немая сцена длится минуту"));
  EXPECT_FALSE(W(Control::Picture1).isVisible());
  EXPECT_EQ(window.focusWidget(), window.Widget(Control::Command1));
  // Labels and the image never take the focus; the tab order is Command1, Text1, Picture1, Text2.
  EXPECT_EQ(W(Control::Label2).focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(W(Control::Image1).focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(NextTabStop(W(Control::Command1)), window.Widget(Control::Text1));
  EXPECT_EQ(NextTabStop(W(Control::Text1)), window.Widget(Control::Picture1));
  EXPECT_EQ(NextTabStop(W(Control::Picture1)), window.Widget(Control::Text2));
  EXPECT_EQ(NextTabStop(W(Control::Text2)), window.Widget(Control::Command1));
  EXPECT_TRUE(window.Timer1().isActive());
  EXPECT_EQ(window.Timer1().interval(), 20);
}

TEST_F(WindowLayoutTest, PictureBoxShowsItsBitmapFromTheTopLeftCutOffAtItsBorder) {
  const QImage bitmap = Picture1Bitmap();
  ASSERT_EQ(bitmap.size(), QSize(287, 349));
  auto& box = As<PictureBox>(Control::Picture1);
  EXPECT_EQ(box.frameShadow(), QFrame::Sunken);
  W(Control::Picture1).show();
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

TEST_F(WindowLayoutTest, TheIconIsImage1AndTheWindowIcon) {
  const QImage icon = ProgramIconImage();
  ASSERT_EQ(icon.size(), QSize(64, 64));
  const QImage shown = W(Control::Image1).grab().toImage();
  EXPECT_EQ(shown.size(), QSize(64, 64));
  EXPECT_EQ(shown.pixelColor(32, 20), icon.pixelColor(32, 20));
  // The mask leaves the corners transparent.
  EXPECT_EQ(icon.pixelColor(0, 0).alpha(), 0);
  EXPECT_FALSE(window.windowIcon().isNull());
  EXPECT_TRUE(window.windowIcon().availableSizes().contains(QSize(64, 64)));
}

// The window reads the icon from its PNG copy; the executable's icon file must show the same.
TEST(ProgramPictures, TheWindowsIconIsTheExecutablesIconPixelForPixel) {
  const QImage ico(QStringLiteral(ADDRVUE_RESOURCES_DIR "/program.ico"));
  ASSERT_FALSE(ico.isNull()) << "Qt's ICO reader plugin (libqt6gui6) could not read the icon";
  const QImage png = ProgramIconImage().convertToFormat(QImage::Format_ARGB32);
  ASSERT_EQ(png.size(), ico.size());
  const QImage expected = ico.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < png.height(); ++y) {
    for (int x = 0; x < png.width(); ++x) {
      // Fully transparent pixels may keep any colour.
      const QRgb want = expected.pixel(x, y);
      const QRgb got = png.pixel(x, y);
      ASSERT_EQ(qAlpha(got), qAlpha(want)) << x << "," << y;
      if (qAlpha(want) != 0) {
        ASSERT_EQ(got, want) << x << "," << y;
      }
    }
  }
}

TEST(ProgramPictures, Picture1IsDecodedOnlyWhenFirstPainted) {
  Form1Window window;
  window.show();
  auto& box = dynamic_cast<PictureBox&>(*window.Widget(Control::Picture1));
  EXPECT_FALSE(box.IsPictureLoaded());
  box.show();
  box.grab();
  EXPECT_TRUE(box.IsPictureLoaded());
  EXPECT_EQ(box.Picture().size(), QSize(287, 349));
}

}  // namespace
}  // namespace addrvue::qt
