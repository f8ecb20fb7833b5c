#include "app/qt/parse_options.h"

#include <QCommandLineParser>
#include <QStringList>
#include <vector>

namespace addrvue::qt {
namespace {

QString FromView(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QStringList Names(const cli::Option& option) {
  QStringList names;
  if (!option.shortName.empty()) {
    names << FromView(option.shortName);
  }
  return names << FromView(option.longName);
}

}  // namespace

cli::Choice ParseOptions(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);  // NOLINT(*-pointer-arithmetic)
  }
  QCommandLineParser parser;
  // "-platform" is one unknown option, not the letters p, l, a, ...
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const cli::Option& option : cli::Options()) {
    parser.addOption(QCommandLineOption(Names(option), FromView(option.summary)));
  }
  if (!parser.parse(arguments)) {
    return {cli::Mode::Window, parser.errorText().toStdString()};
  }
  if (!parser.positionalArguments().isEmpty()) {
    return {cli::Mode::Window,
            "Unexpected argument '" + parser.positionalArguments().first().toStdString() + "'."};
  }
  std::vector<cli::Mode> given;
  for (const cli::Option& option : cli::Options()) {
    if (parser.isSet(FromView(option.longName))) {
      given.push_back(option.mode);
    }
  }
  return cli::Choose(given);
}

}  // namespace addrvue::qt
