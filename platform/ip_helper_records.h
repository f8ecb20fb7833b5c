// Plain descriptions of what the two queries answer, before they are written in a record layout.
// Texts are the bytes their fields get: UTF-8 from the Linux source; a text longer than its field
// is cut at a character boundary so that the field keeps a terminating NUL.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "platform/ip_helper_layout.h"

namespace iphlp {

// A link's hardware address as the records keep it: its first eight bytes at most, in place
// (a machine of many interfaces would otherwise make one allocation for each).
class HardwareAddress {
 public:
  static constexpr std::size_t kCapacity = layout::kAdapterAddressLen;

  HardwareAddress() = default;
  HardwareAddress(std::initializer_list<std::uint8_t> bytes)
      : HardwareAddress(std::span(bytes.begin(), bytes.size())) {}
  // From the bytes of a message or a document, as std::byte or std::uint8_t.
  template <typename Byte>
  explicit HardwareAddress(std::span<const Byte> bytes) : size_(std::min(bytes.size(), kCapacity)) {
    std::transform(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size_),
                   bytes_.begin(), [](Byte b) { return static_cast<std::uint8_t>(b); });
  }

  [[nodiscard]] std::size_t size() const { return size_; }
  [[nodiscard]] bool empty() const { return size_ == 0; }
  [[nodiscard]] std::span<const std::uint8_t> Bytes() const { return {bytes_.data(), size_}; }
  [[nodiscard]] auto begin() const { return Bytes().begin(); }
  [[nodiscard]] auto end() const { return Bytes().end(); }

 private:
  std::array<std::uint8_t, kCapacity> bytes_{};
  std::size_t size_ = 0;
};

struct AddrString {
  std::string IpAddress;
  std::string IpMask;
  std::uint32_t Context = 0;
};

struct NetworkParams {
  std::string HostName;
  std::string DomainName;
  std::vector<AddrString> DnsServers;  // the first is embedded in the record, the rest follow it
  std::uint32_t NodeType = 0;
  std::string ScopeId;
  std::uint32_t EnableRouting = 0;
  std::uint32_t EnableProxy = 0;
  std::uint32_t EnableDns = 0;
};

struct AdapterInfo {
  std::uint32_t ComboIndex = 0;
  std::string AdapterName;
  std::string Description;
  HardwareAddress Address;
  std::uint32_t Index = 0;
  std::uint32_t Type = 0;
  std::uint32_t DhcpEnabled = 0;
  std::vector<AddrString> IpAddressList;  // empty lists are written as one empty node
  std::vector<AddrString> GatewayList;
  AddrString DhcpServer;
  std::uint32_t HaveWins = 0;
  AddrString PrimaryWinsServer;
  AddrString SecondaryWinsServer;
  std::int64_t LeaseObtained = 0;  // seconds since 1970, as time_t
  std::int64_t LeaseExpires = 0;
};

}  // namespace iphlp
