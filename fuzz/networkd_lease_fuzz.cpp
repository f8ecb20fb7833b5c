// systemd-networkd's lease in its key=value and JSON forms; the lease through the report.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/report_of_facts.h"
#include "platform/linux/networkd_lease.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  if (auto lease = linux_source::ParseNetworkdLease(text)) {
    fuzzing::RunReport(fuzzing::OneInterfaceFacts(lease));
  }
  return 0;
}
