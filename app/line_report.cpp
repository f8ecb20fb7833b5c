#include "app/line_report.h"

#include <nlohmann/json.hpp>

#include "platform/text/utf.h"

namespace addrvue {

void LineReport::ShowMessageBox(std::u16string_view text) {
  if (text != u"_") {
    Write(text);
  }
}

void LineReport::ShowFailureBox(std::u16string_view text) {
  queryFailed_ = true;
  Write(text);
}

void LineReport::Write(std::u16string_view text) {
  const bool blank = text.find_first_not_of(u' ') == std::u16string_view::npos;
  if (blank || text == last_) {
    return;
  }
  last_ = text;
  const std::string quoted =
      nlohmann::json(ToUtf8(text)).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  out_.append(quoted, 1, quoted.size() - 2);
  out_ += '\n';
}

}  // namespace addrvue
