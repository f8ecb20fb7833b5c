#include "app/qt/pictures.h"

#include <QString>

namespace addrvue::qt {
namespace {

const QString kIconPath = QStringLiteral(":/pictures/program.ico");
const QString kBitmapPath = QStringLiteral(":/pictures/picture1.bmp");

}  // namespace

QIcon ProgramIcon() {
  return QIcon(kIconPath);
}

QImage ProgramIconImage() {
  return QImage(kIconPath);
}

QImage Picture1Bitmap() {
  return QImage(kBitmapPath);
}

}  // namespace addrvue::qt
