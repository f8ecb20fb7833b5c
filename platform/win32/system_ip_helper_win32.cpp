// The system's IP Helper (IPHlpApi.dll). Its answers hold real addresses in their Next fields,
// pointing into the caller's buffer.
// winsock2.h comes first: windows.h would otherwise bring the old winsock.h, which clashes with it.
#include <winsock2.h>

#include <iphlpapi.h>
#include <windows.h>

#include <cstdint>
#include <memory>

#include "platform/system_ip_helper.h"

namespace iphlp {
namespace {

std::uint32_t AddressOf(const std::byte* p) {
  return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(p));
}

// Character n is what byte n means in the ANSI code page of the user's system.
AnsiCodePage AnsiPage() {
  AnsiCodePage page{};
  for (std::size_t i = 0; i < page.size(); ++i) {
    const char byte = static_cast<char>(i);
    wchar_t wide = 0;
    if (MultiByteToWideChar(CP_ACP, 0, &byte, 1, &wide, 1) == 1) {
      page.at(i) = static_cast<char16_t>(wide);
    } else {
      page.at(i) = u'\uFFFD';
    }
  }
  return page;
}

// Calls one of the two queries with the size in Windows' own type. Without a size there is no
// call: the answer is ERROR_INVALID_PARAMETER, as the system gives.
template <class Record>
std::uint32_t Query(DWORD(WINAPI* query)(Record*, ULONG*), std::byte* buffer, std::uint32_t* size) {
  if (size == nullptr) {
    return ERROR_INVALID_PARAMETER;
  }
  ULONG length = *size;
  const DWORD code = query(reinterpret_cast<Record*>(buffer), &length);
  *size = length;
  return code;
}

class SystemHelper final : public IpHelper {
 public:
  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return Query(&::GetNetworkParams, buffer, size);
  }

  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    return Query(&::GetAdaptersInfo, buffer, size);
  }

  // A Next field holds the address of the record it leads to; the record lies in the buffer
  // only if that address is not below the buffer's start.
  [[nodiscard]] std::optional<std::size_t> OffsetOfReference(
      std::uint32_t reference, const std::byte* bufferStart) const override {
    const std::uint32_t start = AddressOf(bufferStart);
    if (reference < start) {
      return std::nullopt;
    }
    return reference - start;
  }

  [[nodiscard]] const AnsiCodePage& TextCodePage() const override { return page_; }

 private:
  AnsiCodePage page_ = AnsiPage();
};

}  // namespace

std::unique_ptr<IpHelper> SystemIpHelper() {
  return std::make_unique<SystemHelper>();
}

}  // namespace iphlp
