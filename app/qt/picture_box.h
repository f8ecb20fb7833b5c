// A picture box: a sunken border around an interior that shows a bitmap at its natural size from
// the top-left corner, cut off at the interior's edges. The box never resizes to its bitmap.
#pragma once

#include <QFrame>
#include <QPixmap>

namespace addrvue::qt {

class PictureBox final : public QFrame {
 public:
  PictureBox(QPixmap picture, QWidget* parent);

  [[nodiscard]] const QPixmap& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QPixmap picture_;
};

}  // namespace addrvue::qt
