#include "app/qt/message_box.h"

#include <QAbstractButton>
#include <QMessageBox>

#include "app/layout.h"
#include "app/qt/text.h"

namespace addrvue::qt {

void ShowProgramMessageBox(QWidget* parent, const QString& text) {
  // The title is set on the box itself: an application display name would also be appended to the
  // main window's title under X11.
  QMessageBox box(QMessageBox::NoIcon, ToQString(layout::kApplicationTitle), text, QMessageBox::Ok,
                  parent);
  box.setTextFormat(Qt::PlainText);
  // Some styles draw a tick on OK buttons; the box shows no picture at all.
  box.button(QMessageBox::Ok)->setIcon(QIcon());
  box.exec();
}

}  // namespace addrvue::qt
