#include "tests/gui/box_watcher.h"

#include <QAbstractButton>
#include <QApplication>

namespace addrvue::testing {

BoxWatcher::BoxWatcher(Look look) : look_(std::move(look)) {
  timer_.setInterval(1);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  timer_.start();
}

void BoxWatcher::Tick() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (box == nullptr || !box->isVisible()) {
    return;
  }
  texts.push_back(box->text().toStdString());
  if (look_) {
    look_(*box);
  }
  if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
    ok->click();
  } else {
    box->done(0);
  }
}

}  // namespace addrvue::testing
