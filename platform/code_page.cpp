#include "platform/ip_helper.h"

namespace iphlp {

const AnsiCodePage& Latin1CodePage() {
  static const AnsiCodePage page = [] {
    AnsiCodePage p{};
    for (std::size_t i = 0; i < p.size(); ++i) {
      p[i] = static_cast<char16_t>(i);
    }
    return p;
  }();
  return page;
}

}  // namespace iphlp
