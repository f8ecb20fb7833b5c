#include "report/window_seam.h"

namespace addrvue {

std::u16string_view ShownText(std::u16string_view text) {
  return text.substr(0, text.find(u'\0'));
}

}  // namespace addrvue
