// A picture box: a sunken border around an interior that shows a bitmap at its natural size from
// the top-left corner, cut off at the interior's edges. The box never resizes to its bitmap.
#pragma once

#include <QFrame>
#include <QPixmap>
#include <functional>

namespace addrvue::qt {

class PictureBox final : public QFrame {
 public:
  // `load` gives the bitmap; it is called once, when the bitmap is first needed (the first paint),
  // so a box that starts hidden costs nothing until it shows.
  PictureBox(std::function<QPixmap()> load, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  [[nodiscard]] const QPixmap& Picture();

  std::function<QPixmap()> load_;
  QPixmap picture_;
};

}  // namespace addrvue::qt
