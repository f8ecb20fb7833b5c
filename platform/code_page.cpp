// The readings of result buffers that do not depend on the platform: references as a base plus
// an offset, and UTF-8 text.
#include <utility>

#include "platform/ip_helper.h"
#include "platform/utf.h"

namespace iphlp {
namespace {

class Utf8Decoder final : public TextDecoder {
 public:
  [[nodiscard]] std::u16string Decode(std::span<const std::byte> text) const override {
    return addrvue::FromUtf8({reinterpret_cast<const char*>(text.data()), text.size()});
  }
};

}  // namespace

std::optional<std::size_t> BasedReferences::OffsetOfReference(std::uint64_t reference,
                                                              const std::byte* bufferStart) const {
  const std::uint64_t base = base_.value_or(reinterpret_cast<std::uintptr_t>(bufferStart));
  if (reference < base || !std::in_range<std::size_t>(reference - base)) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(reference - base);
}

const TextDecoder& Utf8Text() {
  static const Utf8Decoder decoder;
  return decoder;
}

}  // namespace iphlp
