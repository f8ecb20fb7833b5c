// Samba's smb.conf: the NetBIOS scope, proxies and WINS servers, and the report of them.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/report_of_facts.h"
#include "platform/linux/samba_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  using namespace addrvue;
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  auto facts = fuzzing::OneInterfaceFacts(std::nullopt);
  facts.samba = linux_source::ParseSmbConf(text);
  fuzzing::RunReport(facts);
  return 0;
}
