#include "bench/netlink_floor.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

#include "platform/linux/netlink_dump.h"

namespace addrvue::bench {
namespace {

constexpr std::size_t kReceiveSize = std::size_t{1} << 16;

class Socket {
 public:
  Socket() : fd_(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {
    if (fd_ >= 0) {
      // The pair's socket options: strict checking, so that the kernel reads the requests
      // exactly as it reads the pair's, and the same receive buffer.
      const int one = 1;
      const int size = 1 << 20;
      setsockopt(fd_, SOL_NETLINK, NETLINK_GET_STRICT_CHK, &one, sizeof one);
      setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
    }
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  Socket(Socket&&) = delete;
  Socket& operator=(Socket&&) = delete;
  ~Socket() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  [[nodiscard]] int Fd() const { return fd_; }

 private:
  int fd_;
};

// One dump, asked with the very request the pair sends (the same header, family and attributes),
// every message of the reply read to its header and nothing decoded.
std::size_t Dump(const Socket& socket, std::byte* buffer, std::uint16_t type, std::uint8_t family,
                 std::uint32_t sequence) {
  const auto request = linux_source::DumpRequest(type, family, sequence);
  if (send(socket.Fd(), request.data(), request.size(), 0) < 0) {
    return 0;
  }
  std::size_t messages = 0;
  while (true) {
    const ssize_t n = recv(socket.Fd(), buffer, kReceiveSize, 0);
    if (n <= 0) {
      return messages;
    }
    const auto received = static_cast<std::size_t>(n);
    for (std::size_t at = 0; received - at >= sizeof(nlmsghdr);) {
      nlmsghdr header{};
      std::memcpy(&header, buffer + at, sizeof header);  // NOLINT(*-pointer-arithmetic)
      if (header.nlmsg_len < sizeof header || header.nlmsg_len > received - at) {
        break;
      }
      if (header.nlmsg_type == NLMSG_DONE || header.nlmsg_type == NLMSG_ERROR) {
        return messages;
      }
      ++messages;
      at += std::min<std::size_t>(NLMSG_ALIGN(header.nlmsg_len), received - at);
    }
  }
}

}  // namespace

std::size_t DumpLinksAddressesRoutes() {
  const Socket socket;
  if (socket.Fd() < 0) {
    return 0;
  }
  // Any reader needs one receive buffer; nothing needs it zeroed.
  const auto buffer = std::make_unique_for_overwrite<std::byte[]>(kReceiveSize);
  return Dump(socket, buffer.get(), RTM_GETLINK, AF_UNSPEC, 1) +
         Dump(socket, buffer.get(), RTM_GETADDR, AF_INET, 2) +
         Dump(socket, buffer.get(), RTM_GETROUTE, AF_INET, 3);
}

}  // namespace addrvue::bench
