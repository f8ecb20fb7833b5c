// What rtnetlink messages say about interfaces, IPv4 addresses and IPv4 default routes, and the
// kernel's view that they add up to.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <vector>

#include "platform/ip_helper_records.h"

namespace addrvue::linux_source {

struct LinkEntry {
  int index = 0;
  std::string name;
  std::uint16_t linkType = 0;  // ARPHRD_*
  std::uint32_t flags = 0;     // IFF_*
  iphlp::HardwareAddress address;
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

struct KernelInterfaces {
  // A deque: the dump gives no count to reserve by, and a vector that doubles as the links come
  // takes and frees blocks of every size up to twice the list, which on a machine of many
  // interfaces can make the allocator give its heap back and take it again on every read.
  std::deque<LinkEntry> links;
  std::vector<AddressEntry> addresses;
  std::vector<RouteEntry> defaultRoutes;
};

// Adds what a message of type RTM_NEWLINK, RTM_NEWADDR or RTM_NEWROUTE tells: a link, an IPv4
// address, the next hops of an IPv4 default route of the main table. Every read is bounded by
// the payload (the message after its netlink header); other types and other routes add nothing.
void AddMessage(KernelInterfaces& kernel, std::uint16_t type, std::span<const std::byte> payload);

}  // namespace addrvue::linux_source
