// The program's pictures, built into the executable from resources/. Both are BMPs, read with
// the reader built into Qt Gui: no image-format plugin or image library is loaded for them.
#pragma once

#include <QIcon>
#include <QImage>

namespace addrvue::qt {

// The program's icon: the window's icon and Image1's picture (64 x 64). The same picture as the
// executable's icon file, kept as a 32-bit BMP with alpha.
QIcon ProgramIcon();
QImage ProgramIconImage();
// Picture1's bitmap (287 x 349).
QImage Picture1Bitmap();

}  // namespace addrvue::qt
