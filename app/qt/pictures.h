// The program's pictures, built into the executable from resources/. Both are read with the
// readers built into Qt Gui (PNG and BMP), so no image-format plugin is loaded for them.
#pragma once

#include <QIcon>
#include <QImage>

namespace addrvue::qt {

// The program's icon: the window's icon and Image1's picture (64 x 64). The same picture as the
// executable's icon file, kept as a PNG.
QIcon ProgramIcon();
QImage ProgramIconImage();
// Picture1's bitmap (287 x 349).
QImage Picture1Bitmap();

}  // namespace addrvue::qt
