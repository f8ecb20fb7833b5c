#include "platform/linux/netlink_dump.h"

#include <linux/if_link.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/linux/netlink_bytes.h"

namespace addrvue::linux_source {
namespace {

constexpr int kReceiveTimeoutSeconds = 1;  // the kernel answers at once; this bounds a fault
constexpr int kAttempts = 3;

// ifinfomsg, ifaddrmsg and rtmsg all start with the family byte; strict checking wants the whole
// header of the kind asked for, zeroed but for the family.
std::size_t RequestBodyLength(std::uint16_t type) {
  switch (type) {
    case RTM_GETLINK:
      return sizeof(ifinfomsg);
    case RTM_GETADDR:
      return sizeof(ifaddrmsg);
    default:
      return sizeof(rtmsg);
  }
}

template <typename T>
void Append(std::vector<std::byte>& bytes, const T& value) {
  const auto* raw = reinterpret_cast<const std::byte*>(&value);
  bytes.insert(bytes.end(), raw, raw + sizeof value);  // NOLINT(*-pointer-arithmetic)
}

}  // namespace

std::vector<std::byte> DumpRequest(std::uint16_t type, std::uint8_t family,
                                   std::uint32_t sequence) {
  nlmsghdr header{};
  header.nlmsg_type = type;
  header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  header.nlmsg_seq = sequence;
  std::vector<std::byte> request(NLMSG_LENGTH(RequestBodyLength(type)));
  request.at(NLMSG_HDRLEN) = static_cast<std::byte>(family);
  if (type == RTM_GETLINK) {
    // The links' statistics are not needed: asking the kernel to leave them out spares it a
    // good part of the dump's work (it gathers them from every device).
    rtattr mask{};
    mask.rta_len = RTA_LENGTH(sizeof(std::uint32_t));
    mask.rta_type = IFLA_EXT_MASK;
    Append(request, mask);
    Append(request, std::uint32_t{RTEXT_FILTER_SKIP_STATS});
  }
  header.nlmsg_len = static_cast<std::uint32_t>(request.size());
  std::memcpy(request.data(), &header, sizeof header);
  return request;
}

DumpState FrameDumpReply(std::span<const std::byte> datagram, std::uint32_t sequence,
                         const MessageSink& onMessage) {
  std::size_t at = 0;
  while (const auto message = HeaderAt<nlmsghdr>(datagram, at)) {
    const std::size_t length = message->nlmsg_len;
    if (length < sizeof(nlmsghdr) || length > datagram.size() - at) {
      return DumpState::kFailed;
    }
    if (message->nlmsg_seq == sequence) {
      if (message->nlmsg_type == NLMSG_ERROR || (message->nlmsg_flags & NLM_F_DUMP_INTR) != 0) {
        return DumpState::kFailed;
      }
      if (message->nlmsg_type == NLMSG_DONE) {
        return DumpState::kDone;
      }
      onMessage(message->nlmsg_type, datagram.subspan(at + NLMSG_HDRLEN, length - NLMSG_HDRLEN));
    }
    at += NLMSG_ALIGN(length);
  }
  return DumpState::kMore;
}

NetlinkSocket::NetlinkSocket(std::size_t receiveSize)
    : fd_(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)),
      buffer_(std::make_unique_for_overwrite<std::byte[]>(receiveSize)),  // NOLINT(*-c-arrays)
      bufferSize_(receiveSize) {
  if (fd_ >= 0 && !Configure()) {
    close(fd_);
    fd_ = -1;
  }
}

NetlinkSocket::~NetlinkSocket() {
  if (fd_ >= 0) {
    close(fd_);
  }
}

bool NetlinkSocket::Configure() {
  const int one = 1;
  const int size = 1 << 20;
  const timeval timeout{.tv_sec = kReceiveTimeoutSeconds, .tv_usec = 0};
  // The kernel's strict checking makes a dump only what it was asked for; kernels before 4.20
  // lack it (ENOPROTOOPT) and dump the same tables, only without checking the request.
  if (setsockopt(fd_, SOL_NETLINK, NETLINK_GET_STRICT_CHK, &one, sizeof one) != 0 &&
      errno != ENOPROTOOPT) {
    return false;
  }
  if (setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size) != 0 ||
      setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0) {
    return false;
  }
  sockaddr_nl self{};
  self.nl_family = AF_NETLINK;  // port 0: the kernel picks a free one
  socklen_t length = sizeof self;
  if (bind(fd_, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 0 ||
      getsockname(fd_, reinterpret_cast<sockaddr*>(&self), &length) != 0) {
    return false;
  }
  portId_ = self.nl_pid;
  return true;
}

bool NetlinkSocket::Send(std::span<const std::byte> request) const {
  sockaddr_nl kernel{};
  kernel.nl_family = AF_NETLINK;
  return fd_ >= 0 && sendto(fd_, request.data(), request.size(), 0,
                            reinterpret_cast<const sockaddr*>(&kernel), sizeof kernel) >= 0;
}

std::optional<std::span<const std::byte>> NetlinkSocket::Receive() {
  while (fd_ >= 0) {
    sockaddr_nl sender{};
    iovec data{.iov_base = buffer_.get(), .iov_len = bufferSize_};
    msghdr message{};
    message.msg_name = &sender;
    message.msg_namelen = sizeof sender;
    message.msg_iov = &data;
    message.msg_iovlen = 1;
    // With MSG_TRUNC the answer is the datagram's whole length, even where the buffer held less:
    // one call a datagram, and a datagram cut short is known and its size kept for the next try.
    const ssize_t got = recvmsg(fd_, &message, MSG_TRUNC);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      return std::nullopt;
    }
    if (static_cast<std::size_t>(got) > bufferSize_ || (message.msg_flags & MSG_TRUNC) != 0) {
      largestCut_ = std::max(largestCut_, static_cast<std::size_t>(got));
      return std::nullopt;
    }
    // Only the kernel answers a dump; anything another process sent is passed over.
    if (message.msg_namelen == sizeof sender && sender.nl_pid == 0) {
      return std::span<const std::byte>(buffer_.get(), static_cast<std::size_t>(got));
    }
  }
  return std::nullopt;
}

bool Dump(NetlinkSocket& socket, std::uint16_t type, std::uint8_t family,
          const MessageSink& onMessage) {
  const std::uint32_t sequence = socket.NextSequence();
  if (!socket.Send(DumpRequest(type, family, sequence))) {
    return false;
  }
  DumpState state = DumpState::kMore;
  while (state == DumpState::kMore) {
    const auto datagram = socket.Receive();
    state = datagram ? FrameDumpReply(*datagram, sequence, onMessage) : DumpState::kFailed;
  }
  return state == DumpState::kDone;
}

std::optional<KernelInterfaces> ReadKernelInterfaces() {
  // A dump that the kernel interrupts because the table changed is asked again, each time on a
  // fresh socket; one that fails every time leaves the tables unread.
  // A datagram larger than the receive buffer (a link with very many attributes) fails its
  // attempt too, and the next one receives into a buffer of its size.
  std::optional<KernelInterfaces> result;
  std::size_t receiveSize = NetlinkSocket::kReceiveSize;
  for (int attempt = 0; attempt < kAttempts && !result; ++attempt) {
    NetlinkSocket socket(receiveSize);
    KernelInterfaces found;
    const MessageSink add = [&](std::uint16_t type, std::span<const std::byte> payload) {
      AddMessage(found, type, payload);
    };
    if (Dump(socket, RTM_GETLINK, AF_UNSPEC, add) && Dump(socket, RTM_GETADDR, AF_INET, add) &&
        Dump(socket, RTM_GETROUTE, AF_INET, add)) {
      result = std::move(found);
    }
    receiveSize = std::max(receiveSize, socket.LargestCutDatagram());
  }
  if (result) {
    // The kernel dumps links in index order already; sorting is only its guard.
    const auto byIndex = [](const LinkEntry& a, const LinkEntry& b) { return a.index < b.index; };
    if (!std::is_sorted(result->links.begin(), result->links.end(), byIndex)) {
      std::stable_sort(result->links.begin(), result->links.end(), byIndex);
    }
    std::stable_sort(result->defaultRoutes.begin(), result->defaultRoutes.end(),
                     [](const RouteEntry& a, const RouteEntry& b) { return a.metric < b.metric; });
  }
  return result;
}

}  // namespace addrvue::linux_source
