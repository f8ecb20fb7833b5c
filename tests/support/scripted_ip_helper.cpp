#include "tests/support/scripted_ip_helper.h"

#include <algorithm>

namespace addrvue::testing {

void Patch32(iphlp::ResultImage& image, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    image.bytes.at(at + i) = static_cast<std::byte>((value >> (8 * i)) & 0xFFU);
  }
  // A patched Next is a reference like the others: an answer with real addresses moves it too.
  if (std::find(image.references.begin(), image.references.end(), at) == image.references.end()) {
    image.references.push_back(at);
  }
}

std::uint32_t ScriptedIpHelper::Answer(const ScriptedQuery& query, std::byte* buffer,
                                       std::uint32_t* size) {
  auto& calls = &query == &params_ ? paramsCalls : adaptersCalls;
  calls.push_back(buffer == nullptr ? 0 : *size);
  if (buffer == nullptr && query.sizingCode) {
    *size = query.sizingSize.value_or(static_cast<std::uint32_t>(query.image.bytes.size()));
    return *query.sizingCode;
  }
  if (buffer != nullptr && query.fillCode) {
    return *query.fillCode;
  }
  return iphlp::AnswerQuery(query.image, buffer, size);
}

}  // namespace addrvue::testing
