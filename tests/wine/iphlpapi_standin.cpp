// A stand-in iphlpapi.dll that answers the two queries from one of the shared scripted fixtures,
// named by the environment variable ADDRVUE_FIXTURE, in the record layout of the process that
// loads it, with every Next reference turned into the real address inside the caller's buffer, as
// the system's IP Helper writes them.
#include <windows.h>

#include <cstdint>
#include <cstdlib>

#include "tests/fixtures/fixtures.h"

namespace {

using addrvue::testing::ScriptedIpHelper;

ScriptedIpHelper& Chosen() {
  static const char* const name = std::getenv("ADDRVUE_FIXTURE");
  static const auto& fixture = addrvue::testing::Fixtures(iphlp::layout::WindowsProcessLayout())
                                   .at(name != nullptr ? name : "");
  static ScriptedIpHelper helper(fixture.params, fixture.adapters, {.referenceBase = std::nullopt});
  return helper;
}

template <auto Query>
DWORD Answer(void* buffer, ULONG* size) {
  std::uint32_t size32 = *size;
  const DWORD code = (Chosen().*Query)(static_cast<std::byte*>(buffer), &size32);
  *size = size32;
  return code;
}

}  // namespace

extern "C" {

DWORD WINAPI GetNetworkParams(void* fixedInfo, ULONG* size) {
  return Answer<&ScriptedIpHelper::GetNetworkParams>(fixedInfo, size);
}

DWORD WINAPI GetAdaptersInfo(void* adapterInfo, ULONG* size) {
  return Answer<&ScriptedIpHelper::GetAdaptersInfo>(adapterInfo, size);
}

}  // extern "C"
