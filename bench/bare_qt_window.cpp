// A bare Qt 6 window of the program's size, to compare start-up time and memory with.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.resize(677, 406);
  window.show();
  return QApplication::exec();
}
