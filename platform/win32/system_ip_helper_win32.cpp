// The system's IP Helper (IPHlpApi.dll). Its answers hold real addresses in their Next fields,
// pointing into the caller's buffer.
#include <iphlpapi.h>
#include <windows.h>
#include <winsock2.h>

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

class SystemHelper final : public IpHelper {
 public:
  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    ULONG length = *size;
    const DWORD code = ::GetNetworkParams(reinterpret_cast<PFIXED_INFO>(buffer), &length);
    *size = length;
    return code;
  }

  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    ULONG length = *size;
    const DWORD code = ::GetAdaptersInfo(reinterpret_cast<PIP_ADAPTER_INFO>(buffer), &length);
    *size = length;
    return code;
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
