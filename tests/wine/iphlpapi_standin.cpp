// A stand-in iphlpapi.dll that answers the two queries from one of the shared scripted
// fixtures, named by the environment variable ADDRVUE_FIXTURE. Its answers are what the fixture
// scripts, with every Next reference turned into the real address inside the caller's buffer, as
// the system's IP Helper writes them.
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/ip_helper_encoder.h"
#include "tests/fixtures/fixtures.h"

namespace {

using addrvue::testing::Fixture;
using addrvue::testing::ScriptedQuery;

constexpr DWORD kErrorNotSupported = 50;

const Fixture* ChosenFixture() {
  static const Fixture* const fixture = [] {
    const char* name = std::getenv("ADDRVUE_FIXTURE");
    return addrvue::testing::FindFixture(name == nullptr ? std::string() : std::string(name));
  }();
  return fixture;
}

DWORD Answer(const ScriptedQuery& query, void* buffer, ULONG* size) {
  auto* bytes = static_cast<std::byte*>(buffer);
  if (size == nullptr) {
    return iphlp::AnswerQuery(query.image, bytes, nullptr);
  }
  std::uint32_t size32 = *size;
  DWORD code = 0;
  if (bytes == nullptr && query.sizingCode) {
    size32 = query.sizingSize.value_or(static_cast<std::uint32_t>(query.image.bytes.size()));
    code = *query.sizingCode;
  } else if (bytes != nullptr && query.fillCode) {
    code = *query.fillCode;
  } else {
    const auto base = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(bytes));
    code = iphlp::AnswerQuery(query.image, bytes, &size32, base);
  }
  *size = size32;
  return code;
}

}  // namespace

extern "C" {

DWORD WINAPI GetNetworkParams(void* fixedInfo, ULONG* size) {
  const Fixture* fixture = ChosenFixture();
  return fixture == nullptr ? kErrorNotSupported : Answer(fixture->params, fixedInfo, size);
}

DWORD WINAPI GetAdaptersInfo(void* adapterInfo, ULONG* size) {
  const Fixture* fixture = ChosenFixture();
  return fixture == nullptr ? kErrorNotSupported : Answer(fixture->adapters, adapterInfo, size);
}

}  // extern "C"
