#include "bench/netlink_floor.h"

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

namespace addrvue::bench {
namespace {

class Socket {
 public:
  Socket() : fd_(socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE)) {}
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

std::size_t Dump(const Socket& socket, std::uint16_t type, std::uint8_t family,
                 std::uint32_t sequence) {
  struct Request {
    nlmsghdr header;
    rtgenmsg message;
  } request{};
  request.header.nlmsg_len = sizeof request;
  request.header.nlmsg_type = type;
  request.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
  request.header.nlmsg_seq = sequence;
  request.message.rtgen_family = family;
  if (send(socket.Fd(), &request, sizeof request, 0) < 0) {
    return 0;
  }
  std::vector<char> buffer(1 << 16);
  std::size_t messages = 0;
  while (true) {
    const ssize_t n = recv(socket.Fd(), buffer.data(), buffer.size(), 0);
    if (n <= 0) {
      return messages;
    }
    auto remaining = static_cast<std::size_t>(n);
    std::size_t at = 0;
    while (remaining >= sizeof(nlmsghdr)) {
      nlmsghdr header{};
      std::memcpy(&header, buffer.data() + at, sizeof header);
      if (header.nlmsg_len < sizeof header || header.nlmsg_len > remaining) {
        break;
      }
      if (header.nlmsg_type == NLMSG_DONE || header.nlmsg_type == NLMSG_ERROR) {
        return messages;
      }
      ++messages;
      const std::size_t step = NLMSG_ALIGN(header.nlmsg_len);
      at += step;
      remaining = step < remaining ? remaining - step : 0;
    }
  }
}

}  // namespace

std::size_t DumpLinksAddressesRoutes() {
  const Socket socket;
  if (socket.Fd() < 0) {
    return 0;
  }
  return Dump(socket, RTM_GETLINK, AF_UNSPEC, 1) + Dump(socket, RTM_GETADDR, AF_INET, 2) +
         Dump(socket, RTM_GETROUTE, AF_INET, 3);
}

}  // namespace addrvue::bench
