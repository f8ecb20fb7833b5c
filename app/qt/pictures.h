// The program's pictures, built into the executable from resources/.
#pragma once

#include <QIcon>
#include <QImage>

namespace addrvue::qt {

// The program's icon: the window's icon and Image1's picture (64 x 64).
QIcon ProgramIcon();
QImage ProgramIconImage();
// Picture1's bitmap (287 x 349).
QImage Picture1Bitmap();

}  // namespace addrvue::qt
