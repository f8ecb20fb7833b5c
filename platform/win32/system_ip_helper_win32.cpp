// The system's IP Helper (IPHlpApi.dll). Its answers are in this process's own record layout, hold
// real addresses in their reference fields, pointing into the caller's buffer, and text in the
// system's ANSI code page.
// winsock2.h comes first: windows.h would otherwise bring the old winsock.h, which clashes with it.
#include <winsock2.h>

#include <iphlpapi.h>
#include <windows.h>

#include <climits>
#include <cstdint>
#include <memory>

#include "platform/system_ip_helper.h"

namespace iphlp {
namespace {

// Text in the ANSI code page of the user's system, which may be a double-byte one (932, 936, 949,
// 950): a field is decoded whole, so that a lead byte and its trail byte give one character.
class AnsiText final : public TextDecoder {
 public:
  [[nodiscard]] std::u16string Decode(std::span<const std::byte> text) const override {
    if (text.empty() || text.size() > INT_MAX) {
      return {};
    }
    const auto* bytes = reinterpret_cast<const char*>(text.data());
    const auto length = static_cast<int>(text.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, bytes, length, nullptr, 0);
    if (needed <= 0) {
      return std::u16string(text.size(), u'\uFFFD');
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, bytes, length, wide.data(), needed);
    wide.resize(static_cast<std::size_t>(written > 0 ? written : 0));
    return {wide.begin(), wide.end()};
  }
};

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

  [[nodiscard]] const layout::RecordLayout& Layout() const override {
    return layout::WindowsProcessLayout();
  }
  // A reference is the address of the record it leads to; the record lies in the buffer only if
  // that address is not below the buffer's start.
  [[nodiscard]] const ReferenceResolver& References() const override { return references_; }
  [[nodiscard]] const TextDecoder& Text() const override { return text_; }

 private:
  BasedReferences references_{std::nullopt};
  AnsiText text_;
};

}  // namespace

std::unique_ptr<IpHelper> SystemIpHelper() {
  return std::make_unique<SystemHelper>();
}

}  // namespace iphlp
