// Qt widgets made from the layout's data: one per control that shows something.
#pragma once

#include <QFont>
#include <QWidget>

#include "app/layout.h"

namespace addrvue::qt {

QFont FontOf(const layout::Font& font);

// The control's widget at its place in `parent`, sized in pixels at `dpi`; none for Timer1, which
// shows nothing.
QWidget* MakeControl(const layout::ControlLayout& control, QWidget* parent, int dpi);

QRect PixelRect(const layout::ControlLayout& control, int dpi);

}  // namespace addrvue::qt
