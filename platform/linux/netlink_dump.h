// The kernel's interfaces, IPv4 addresses and IPv4 default routes, from rtnetlink dumps: one
// request per kind, whatever the number of interfaces.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace addrvue::linux_source {

struct LinkEntry {
  int index = 0;
  std::string name;
  std::uint16_t linkType = 0;  // ARPHRD_*
  std::uint32_t flags = 0;     // IFF_*
  std::vector<std::uint8_t> address;
  std::string kind;          // the link's driver kind ("veth", "bridge", "tun"), when virtual
  std::string parentBus;     // "pci", "usb" ... for a device with a parent device
  std::string parentDevice;  // the parent device's name
};

struct AddressEntry {
  int index = 0;
  std::array<std::uint8_t, 4> local{};
  unsigned prefixLength = 0;
  bool secondary = false;
  bool permanent = true;
  static constexpr std::uint32_t kInfinite = 0xFFFFFFFFU;
  std::uint32_t validSeconds = kInfinite;  // remaining valid lifetime
  std::uint32_t updatedCentiseconds = 0;   // when it was last set, in 1/100 s since boot
};

struct RouteEntry {
  int outIndex = 0;
  std::array<std::uint8_t, 4> gateway{};
  std::uint32_t metric = 0;
};

// Parsers of one message's payload (after the netlink header); nothing when the message does not
// hold what is asked (a route of another table, say). Every read is bounded by the payload.
std::optional<LinkEntry> ParseLinkMessage(std::span<const std::byte> payload);
std::optional<AddressEntry> ParseAddressMessage(std::span<const std::byte> payload);
// A default route of the main table may have several next hops.
std::vector<RouteEntry> ParseDefaultRouteMessage(std::span<const std::byte> payload);

// A NETLINK_ROUTE socket of the calling thread's network namespace.
class NetlinkSocket {
 public:
  NetlinkSocket();
  NetlinkSocket(const NetlinkSocket&) = delete;
  NetlinkSocket& operator=(const NetlinkSocket&) = delete;
  NetlinkSocket(NetlinkSocket&&) = delete;
  NetlinkSocket& operator=(NetlinkSocket&&) = delete;
  ~NetlinkSocket();

  [[nodiscard]] bool Open() const { return fd_ >= 0; }

  // Sends one dump request and hands each answering message's type and payload to `onMessage`.
  // Returns false when the dump failed or was interrupted.
  bool Dump(std::uint16_t type, std::uint8_t family,
            const std::function<void(std::uint16_t, std::span<const std::byte>)>& onMessage);

 private:
  int fd_ = -1;
  std::uint32_t sequence_ = 0;
};

struct KernelInterfaces {
  std::vector<LinkEntry> links;  // in interface-index order
  std::vector<AddressEntry> addresses;
  std::vector<RouteEntry> defaultRoutes;  // lowest metric first
};

// Everything from one socket; empty lists when netlink cannot be reached.
KernelInterfaces ReadKernelInterfaces();

}  // namespace addrvue::linux_source
