#include "app/qt/controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <limits>

#include "app/qt/picture_box.h"
#include "app/qt/pictures.h"
#include "app/qt/text.h"

namespace addrvue::qt {
namespace {

using layout::ControlLayout;

Qt::Alignment HorizontalAlignment(layout::Align align) {
  return align == layout::Align::Left ? Qt::AlignLeft : Qt::AlignHCenter;
}

// A label keeps its size whatever its caption: a longer caption breaks into lines at blanks, and
// the lines below the label's height are cut off.
QWidget* MakeLabel(const ControlLayout& control, QWidget* parent) {
  auto* label = new QLabel(parent);  // NOLINT(cppcoreguidelines-owning-memory): parent owns it
  label->setTextFormat(Qt::PlainText);
  label->setText(ToQString(control.text));
  label->setWordWrap(true);
  label->setAlignment(HorizontalAlignment(control.align) | Qt::AlignTop);
  label->setForegroundRole(QPalette::ButtonText);
  label->setAutoFillBackground(true);
  if (control.background) {
    QPalette palette = label->palette();
    const layout::Rgb rgb = *control.background;
    palette.setColor(QPalette::Window, QColor(rgb.red, rgb.green, rgb.blue));
    label->setPalette(palette);
    // Not the window's role, which the label would otherwise inherit.
    label->setBackgroundRole(QPalette::Window);
  } else {
    label->setBackgroundRole(QPalette::Button);
  }
  return label;
}

// The text is set by MakeControl once the box has its own font: a text set at construction would
// be laid out first in the application's default font, loading that font for nothing.
QWidget* MakeTextBox(const ControlLayout& control, QWidget* parent) {
  auto* box = new QLineEdit(parent);  // NOLINT(cppcoreguidelines-owning-memory): parent owns it
  box->setMaxLength(std::numeric_limits<int>::max());
  box->setAlignment(HorizontalAlignment(control.align) | Qt::AlignVCenter);
  // Disabled, a text box keeps its background; only its text turns grey.
  QPalette palette = box->palette();
  palette.setBrush(QPalette::Disabled, QPalette::Base,
                   palette.brush(QPalette::Active, QPalette::Base));
  box->setPalette(palette);
  return box;
}

void SetStartText(const ControlLayout& control, QWidget* widget) {
  if (auto* box = qobject_cast<QLineEdit*>(widget)) {
    box->setText(ToQString(control.text));
    box->setCursorPosition(0);
  }
}

// Return and keypad Enter press the button while it has the focus, as Space does.
QWidget* MakeButton(const ControlLayout& control, QWidget* parent) {
  // NOLINTNEXTLINE(cppcoreguidelines-owning-memory): parent owns it
  auto* button = new QPushButton(ToQString(control.text), parent);
  button->setAutoDefault(true);
  return button;
}

// The icon at its natural size, with no border and no stretching.
QWidget* MakeImage(QWidget* parent) {
  auto* image = new QLabel(parent);  // NOLINT(cppcoreguidelines-owning-memory): parent owns it
  image->setPixmap(QPixmap::fromImage(ProgramIconImage()));
  image->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return image;
}

QWidget* MakeWidget(const ControlLayout& control, QWidget* parent) {
  switch (control.kind) {
    case layout::Kind::Label:
      return MakeLabel(control, parent);
    case layout::Kind::TextBox:
      return MakeTextBox(control, parent);
    case layout::Kind::CommandButton:
      return MakeButton(control, parent);
    case layout::Kind::PictureBox:
      // Picture1 starts hidden: its bitmap is decoded when it is first painted.
      return new PictureBox([] { return QPixmap::fromImage(Picture1Bitmap()); }, parent);
    case layout::Kind::Image:
      return MakeImage(parent);
    case layout::Kind::Timer:
      return nullptr;
  }
  return nullptr;
}

}  // namespace

QFont FontOf(const layout::Font& font) {
  QFont qfont(ToQString(font.face));
  // The face is a serif; where it is missing, the font configuration picks a metric-compatible one.
  qfont.setStyleHint(QFont::Serif);
  qfont.setPointSizeF(font.points);
  qfont.setWeight(static_cast<QFont::Weight>(font.weight));
  qfont.setItalic(font.italic);
  return qfont;
}

QRect PixelRect(const ControlLayout& control, int dpi) {
  using layout::TwipsToPixels;
  return {TwipsToPixels(control.left, dpi), TwipsToPixels(control.top, dpi),
          TwipsToPixels(control.width, dpi), TwipsToPixels(control.height, dpi)};
}

QWidget* MakeControl(const ControlLayout& control, QWidget* parent, int dpi) {
  QWidget* widget = MakeWidget(control, parent);
  if (widget == nullptr) {
    return nullptr;
  }
  widget->setObjectName(ToQString(control.name));
  if (control.font) {
    widget->setFont(FontOf(*control.font));
  }
  SetStartText(control, widget);
  if (!layout::TakesFocus(control.kind)) {
    widget->setFocusPolicy(Qt::NoFocus);
  }
  widget->setGeometry(PixelRect(control, dpi));
  widget->setEnabled(control.enabled);
  if (!control.visible) {
    widget->hide();
  }
  return widget;
}

}  // namespace addrvue::qt
