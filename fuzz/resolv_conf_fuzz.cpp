// resolv.conf text: servers, domain and search list, the host name split against them, and the
// host report of the result.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/report_of_facts.h"
#include "platform/linux/resolver_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  auto facts = fuzzing::OneInterfaceFacts(std::nullopt);
  facts.resolver = linux_source::ParseResolvConf(text);
  // A host name without a domain takes the resolver's.
  facts.kernelHostName = "host";
  fuzzing::RunReport(facts);
  return 0;
}
