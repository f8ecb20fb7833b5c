#include "tests/unit/layout_runs.h"

#include <iconv.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace addrvue::testing {
namespace {

// Text in a code page that iconv knows by the name "CP<number>".
class IconvText final : public iphlp::TextDecoder {
 public:
  explicit IconvText(unsigned codePage) : encoding_("CP" + std::to_string(codePage)) {}

  [[nodiscard]] std::u16string Decode(std::span<const std::byte> text) const override {
    const std::unique_ptr<void, int (*)(iconv_t)> converter(
        iconv_open("UTF-16LE", encoding_.c_str()), iconv_close);
    if (converter.get() == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
      throw std::runtime_error("iconv does not know " + encoding_);
    }
    std::string in(reinterpret_cast<const char*>(text.data()), text.size());
    std::vector<char> out(4 * text.size() + 4);
    char* inAt = in.data();
    char* outAt = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    if (iconv(converter.get(), &inAt, &inLeft, &outAt, &outLeft) == static_cast<std::size_t>(-1)) {
      throw std::runtime_error("bytes that are no " + encoding_);
    }
    std::u16string decoded;
    for (const char* c = out.data(); c + 1 < outAt; c += 2) {
      decoded += static_cast<char16_t>(static_cast<unsigned char>(c[0]) |
                                       static_cast<unsigned char>(c[1]) << 8U);
    }
    return decoded;
  }

 private:
  std::string encoding_;
};

}  // namespace

ScriptedWriting Writing(const LayoutRun& run, const Fixture& fixture) {
  static std::map<unsigned, IconvText> decoders;
  ScriptedWriting writing{.referenceBase = run.referenceBase};
  if (fixture.codePage) {
    writing.text = &decoders.try_emplace(*fixture.codePage, *fixture.codePage).first->second;
  }
  return writing;
}

}  // namespace addrvue::testing
