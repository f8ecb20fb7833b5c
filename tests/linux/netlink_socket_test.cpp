// The netlink socket against the real kernel: it takes only the kernel's datagrams, a datagram
// cut short fails its dump, and a receive that nothing answers ends.
#include <gtest/gtest.h>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>

#include "platform/linux/netlink_dump.h"

namespace addrvue::linux_source {
namespace {

// Another process that knows the socket's port sends it a "dump done" for the request it is
// about to send: the socket passes it over and reads the kernel's whole dump.
TEST(NetlinkSocket, TakesOnlyTheKernelsDatagrams) {
  NetlinkSocket socket;
  ASSERT_NE(socket.PortId(), 0U);
  const int forger = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC, NETLINK_ROUTE);
  ASSERT_GE(forger, 0);
  std::array<std::uint32_t, 5> done{NLMSG_LENGTH(4), NLMSG_DONE | (NLM_F_MULTI << 16U), 1, 0, 0};
  sockaddr_nl to{.nl_family = AF_NETLINK, .nl_pad = 0, .nl_pid = socket.PortId(), .nl_groups = 0};
  const bool sent = sendto(forger, done.data(), sizeof done, 0, reinterpret_cast<sockaddr*>(&to),
                           sizeof to) == sizeof done;
  close(forger);
  ASSERT_TRUE(sent);
  int links = 0;
  EXPECT_TRUE(Dump(socket, RTM_GETLINK, AF_UNSPEC,
                   [&](std::uint16_t type, auto) { links += type == RTM_NEWLINK ? 1 : 0; }));
  EXPECT_GT(links, 0);  // loopback at least
}

// A datagram larger than the receive buffer fails its dump, and its size is known, so that a
// socket with a buffer of that size reads the same dump whole.
TEST(NetlinkSocket, ADatagramCutShortFailsItsDumpAndGivesItsSize) {
  NetlinkSocket tooSmall(16);
  EXPECT_FALSE(Dump(tooSmall, RTM_GETLINK, AF_UNSPEC, [](std::uint16_t, auto) {}));
  EXPECT_GT(tooSmall.LargestCutDatagram(), 16U);
  NetlinkSocket large(tooSmall.LargestCutDatagram());
  EXPECT_TRUE(Dump(large, RTM_GETLINK, AF_UNSPEC, [](std::uint16_t, auto) {}));
  EXPECT_EQ(large.LargestCutDatagram(), 0U);
}

TEST(NetlinkSocket, AReceiveThatNothingAnswersEnds) {
  NetlinkSocket socket;
  EXPECT_FALSE(socket.Receive().has_value());
}

}  // namespace
}  // namespace addrvue::linux_source
