// rtnetlink link, address and route messages with any attributes, lengths and nesting; the
// interfaces they describe through the report.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/netlink_messages.h"
#include "fuzz/report_of_facts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  auto facts = fuzzing::OneInterfaceFacts(std::nullopt);
  facts.kernel =
      fuzzing::ParseMessageStream(std::span(reinterpret_cast<const std::byte*>(bytes), size));
  fuzzing::RunReport(facts);
  return 0;
}
