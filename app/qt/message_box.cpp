#include "app/qt/message_box.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QMessageBox>
#include <QMoveEvent>
#include <QStyle>
#include <algorithm>
#include <optional>
#include <utility>

#include "app/layout.h"
#include "app/qt/text.h"

namespace addrvue::qt {
namespace {

// A dialog's title bar: the title and a close button (Qt adds the system menu that carries it), no
// minimise or maximise. Closing it with that button counts as OK, the box's only button.
constexpr Qt::WindowFlags kBoxFlags = Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint |
                                      Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                      Qt::WindowCloseButtonHint;

// The square parts of a title bar beside its title: the window's icon and the minimise, maximise
// and close buttons, which some window managers draw on every window whatever it asks for.
constexpr int kTitleBarSquares = 4;

// The narrowest frame that shows `box`'s whole title: the title in the desktop's title-bar font
// (Qt's own font where the desktop reports none), beside the title bar's icon and buttons.
int WidthForTitle(const QWidget& box) {
  const QFontMetrics title(QFontDatabase::systemFont(QFontDatabase::TitleFont), &box);
  const int square = box.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &box);
  return title.horizontalAdvance(box.windowTitle()) + kTitleBarSquares * square;
}

// Qt sizes a box when it shows, leaving only a little room beside the title; this box widens
// itself, as the platform's own message boxes do, until its title fits.
class ProgramMessageBox final : public QMessageBox {
 public:
  ProgramMessageBox(QWidget* parent, const QString& text)
      : QMessageBox(NoIcon, ToQString(layout::kApplicationTitle), text, Ok, parent, kBoxFlags) {}

 protected:
  // Qt sizes the box again on each layout request; the title's width is put back each time.
  bool event(QEvent* event) override {
    const bool handled = QMessageBox::event(event);
    if (event->type() == QEvent::LayoutRequest) {
      FitTitle();
    }
    return handled;
  }
  // The first sizing, before the box appears, keeps it centred where Qt placed it.
  void showEvent(QShowEvent* event) override {
    QMessageBox::showEvent(event);
    const int placedWidth = width();
    FitTitle();
    move(x() - (width() - placedWidth) / 2, y());
    placed_ = pos();
  }
  // Under X11 the place is asked for before the window manager takes the box, which may place
  // it on its own instead (openbox at times puts it in the screen's corner, its title bar off
  // the screen): the first place the window manager gives is put right, and only that one, so
  // that the box can still be moved.
  void moveEvent(QMoveEvent* event) override {
    QMessageBox::moveEvent(event);
    if (event->spontaneous() && placed_) {
      const QPoint wanted = *std::exchange(placed_, std::nullopt);
      if (pos() != wanted) {
        move(wanted);
      }
    }
  }

 private:
  std::optional<QPoint> placed_;

  void FitTitle() {
    const int width = WidthForTitle(*this);
    if (width > this->width()) {
      setFixedWidth(width);
    }
  }
};

}  // namespace

void ShowProgramMessageBox(QWidget* parent, const QString& text) {
  // The title is set on the box itself: an application display name would also be appended to the
  // main window's title under X11.
  ProgramMessageBox box(parent, text);
  box.setTextFormat(Qt::PlainText);
  // Some styles draw a tick on OK buttons; the box shows no picture at all.
  box.button(QMessageBox::Ok)->setIcon(QIcon());
  box.exec();
}

}  // namespace addrvue::qt
