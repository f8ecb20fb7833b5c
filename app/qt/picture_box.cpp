#include "app/qt/picture_box.h"

#include <QPainter>
#include <utility>

namespace addrvue::qt {

PictureBox::PictureBox(std::function<QPixmap()> load, QWidget* parent)
    : QFrame(parent), load_(std::move(load)) {
  setFrameStyle(QFrame::WinPanel | QFrame::Sunken);
  setLineWidth(2);
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  setFocusPolicy(Qt::StrongFocus);
}

const QPixmap& PictureBox::Picture() {
  if (load_) {
    picture_ = std::exchange(load_, nullptr)();
  }
  return picture_;
}

void PictureBox::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  QPainter painter(this);
  const QRect interior = contentsRect();
  painter.setClipRect(interior);
  painter.drawPixmap(interior.topLeft(), Picture());
}

}  // namespace addrvue::qt
