#include "tests/support/scripted_ip_helper.h"

namespace addrvue::testing {

std::uint32_t ScriptedIpHelper::Answer(const ScriptedQuery& query, std::byte* buffer,
                                       std::uint32_t* size) {
  auto& calls = &query == &params_ ? paramsCalls : adaptersCalls;
  calls.push_back(buffer == nullptr ? 0 : *size);
  if (buffer == nullptr && query.sizingCode) {
    *size = static_cast<std::uint32_t>(query.image.bytes.size());
    return *query.sizingCode;
  }
  if (buffer != nullptr && query.fillCode) {
    return *query.fillCode;
  }
  const std::uint64_t base =
      writing_.referenceBase.value_or(reinterpret_cast<std::uintptr_t>(buffer));
  return iphlp::AnswerQuery(query.image, buffer, size, base);
}

}  // namespace addrvue::testing
