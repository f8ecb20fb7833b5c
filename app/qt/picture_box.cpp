#include "app/qt/picture_box.h"

#include <QPainter>
#include <utility>

namespace addrvue::qt {

PictureBox::PictureBox(QPixmap picture, QWidget* parent)
    : QFrame(parent), picture_(std::move(picture)) {
  setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  setLineWidth(2);
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect interior = contentsRect();
  painter.setClipRect(interior);
  painter.drawPixmap(interior.topLeft(), picture_);
}

}  // namespace addrvue::qt
