// The kernel's interfaces, IPv4 addresses and IPv4 default routes from rtnetlink dumps: one
// request per kind, whatever the number of interfaces. Building a request and framing a reply
// are pure functions over bytes; the socket only carries them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "platform/linux/netlink_messages.h"

namespace addrvue::linux_source {

// The request for a dump of `type` (RTM_GETLINK, RTM_GETADDR, RTM_GETROUTE) in `family`.
std::vector<std::byte> DumpRequest(std::uint16_t type, std::uint8_t family, std::uint32_t sequence);

enum class DumpState { kMore, kDone, kFailed };

using MessageSink = std::function<void(std::uint16_t type, std::span<const std::byte> payload)>;

// Frames one datagram of the reply to request `sequence`: hands each of its messages (type and
// payload) to `onMessage` and answers whether more datagrams follow, the dump is done, or it
// failed (an error, a message the kernel marks as interrupted because the table changed, a
// message longer than the datagram). Messages of other requests are passed over.
DumpState FrameDumpReply(std::span<const std::byte> datagram, std::uint32_t sequence,
                         const MessageSink& onMessage);

// A NETLINK_ROUTE socket of the calling thread's network namespace, kept as the kernel's own
// tools keep theirs: bound to a port of its own, strict checking asked for, a receive timeout,
// each datagram sized before it is taken, and only the kernel's datagrams accepted. A socket
// that cannot be set up so sends and receives nothing.
class NetlinkSocket {
 public:
  // Datagrams of the kernel's dumps fit 32 KiB, but for a single message that does not.
  static constexpr std::size_t kReceiveSize = std::size_t{1} << 16;

  // Receives datagrams of at most `receiveSize` bytes; a larger one is cut short.
  explicit NetlinkSocket(std::size_t receiveSize = kReceiveSize);
  NetlinkSocket(const NetlinkSocket&) = delete;
  NetlinkSocket& operator=(const NetlinkSocket&) = delete;
  NetlinkSocket(NetlinkSocket&&) = delete;
  NetlinkSocket& operator=(NetlinkSocket&&) = delete;
  ~NetlinkSocket();

  [[nodiscard]] std::uint32_t PortId() const { return portId_; }
  // The next datagram the kernel sent, whole, valid until the next call; nothing on an error, a
  // datagram cut short, or when none comes within the receive timeout. Datagrams of any other
  // sender are passed over.
  std::optional<std::span<const std::byte>> Receive();
  // The size of the largest datagram that was cut short, 0 when none was.
  [[nodiscard]] std::size_t LargestCutDatagram() const { return largestCut_; }

 private:
  // Requests go out only as whole dumps.
  friend bool Dump(NetlinkSocket& socket, std::uint16_t type, std::uint8_t family,
                   const MessageSink& onMessage);
  std::uint32_t NextSequence() { return ++sequence_; }
  [[nodiscard]] bool Send(std::span<const std::byte> request) const;
  bool Configure();

  int fd_ = -1;
  std::uint32_t portId_ = 0;
  std::uint32_t sequence_ = 0;
  // What the kernel writes is all that is read of it, so it is not zeroed first (a vector would).
  std::unique_ptr<std::byte[]> buffer_;  // NOLINT(*-avoid-c-arrays)
  std::size_t bufferSize_;
  std::size_t largestCut_ = 0;
};

// One whole dump; false when it failed or was interrupted.
bool Dump(NetlinkSocket& socket, std::uint16_t type, std::uint8_t family,
          const MessageSink& onMessage);

// Everything from one socket, links in index order and routes lowest metric first; nothing when
// netlink cannot be reached or a dump fails, or stays interrupted over three attempts.
std::optional<KernelInterfaces> ReadKernelInterfaces();

}  // namespace addrvue::linux_source
