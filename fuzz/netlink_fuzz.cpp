// rtnetlink replies as the kernel sends them, framed by the program's own framing: the link,
// address and route dumps of one read (requests 1, 2 and 3) over the same bytes, every message
// through the parsers, and the interfaces they describe through the report.
#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz/report_of_facts.h"
#include "platform/linux/netlink_dump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  const std::span datagram(reinterpret_cast<const std::byte*>(bytes), size);
  auto facts = fuzzing::OneInterfaceFacts(std::nullopt);
  facts.kernel = {};
  for (std::uint32_t sequence = 1; sequence <= 3; ++sequence) {
    (void)linux_source::FrameDumpReply(datagram, sequence,
                                       [&](std::uint16_t type, std::span<const std::byte> payload) {
                                         linux_source::AddMessage(facts.kernel, type, payload);
                                       });
  }
  fuzzing::RunReport(facts);
  return 0;
}
