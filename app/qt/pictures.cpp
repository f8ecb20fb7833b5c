#include "app/qt/pictures.h"

#include <QImageReader>
#include <QPixmap>
#include <QString>

namespace addrvue::qt {
namespace {

const QString kIconPath = QStringLiteral(":/pictures/program-64.bmp");
const QString kBitmapPath = QStringLiteral(":/pictures/picture1.bmp");

// Reads a picture in a format whose reader is built into Qt Gui. The reader is told not to guess
// the format from the content: guessing loads every image-format plugin installed to ask it first.
QImage ReadBuiltIn(const QString& path, const char* format) {
  QImageReader reader(path, format);
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

}  // namespace

QIcon ProgramIcon() {
  // From the decoded picture rather than the file name: QIcon would otherwise probe the file's
  // format again through every image reader.
  return {QPixmap::fromImage(ProgramIconImage())};
}

QImage ProgramIconImage() {
  return ReadBuiltIn(kIconPath, "bmp");
}

QImage Picture1Bitmap() {
  return ReadBuiltIn(kBitmapPath, "bmp");
}

}  // namespace addrvue::qt
