// A bare Qt 6 window of the program's size, to compare start-up time and memory with.
// With --text-box it also holds one empty text box in the program's serif font: the least a window
// with a text box pays before it shows (fontconfig's set-up and the font's loading), for telling
// the program's own start-up costs from the toolkit's.
#include <QApplication>
#include <QFont>
#include <QLineEdit>
#include <QWidget>
#include <string_view>

int main(int argc, char** argv) {
  const bool textBox = argc > 1 && std::string_view(argv[1]) == "--text-box";
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.resize(677, 406);
  if (textBox) {
    auto* box = new QLineEdit(&window);  // NOLINT(cppcoreguidelines-owning-memory): parent owns it
    QFont font(QStringLiteral("Times New Roman"));
    font.setStyleHint(QFont::Serif);
    font.setPointSizeF(14.25);
    box->setFont(font);
    box->setGeometry(8, 360, 657, 41);
  }
  window.show();
  return QApplication::exec();
}
