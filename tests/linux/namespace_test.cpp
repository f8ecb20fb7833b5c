// The Linux source in real network namespaces: every kind of link the kernel here can make,
// addresses and default routes, thousands of interfaces, links that change between the two calls,
// and the host part read from the namespace's own system by the report run inside it.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <nlohmann/json.hpp>

#include "platform/linux/date_names_linux.h"
#include "platform/system_ip_helper.h"
#include "report/module1.h"
#include "tests/linux/namespace_lab.h"
#include "tests/support/recording_window.h"

namespace addrvue::linux_source::testing {
namespace {

// Makes a persistent tun device in the calling thread's namespace and gives it a link type.
// NOLINTBEGIN(cppcoreguidelines-pro-type-vararg): POSIX open and ioctl
::testing::AssertionResult MakeTun(const std::string& name, unsigned short linkType) {
  const int tun = open("/dev/net/tun", O_RDWR | O_CLOEXEC);
  ifreq request{};
  std::strncpy(static_cast<char*>(request.ifr_name), name.c_str(), IFNAMSIZ - 1);
  request.ifr_flags = IFF_TUN | IFF_NO_PI;
  const bool made = tun >= 0 && ioctl(tun, TUNSETIFF, &request) == 0 &&
                    ioctl(tun, TUNSETLINK, static_cast<unsigned long>(linkType)) == 0 &&
                    ioctl(tun, TUNSETPERSIST, 1UL) == 0;
  const int error = errno;
  close(tun);
  if (!made) {
    return ::testing::AssertionFailure() << "tun device " << name << ": " << std::strerror(error);
  }
  return ::testing::AssertionSuccess();
}
// NOLINTEND(cppcoreguidelines-pro-type-vararg)

struct Link {
  const char* name;
  const char* make;  // `ip` arguments that make it; none: a tun device of `linkType`
  unsigned short linkType;
  std::uint32_t type;       // the adapter type reported
  const char* description;  // the link's kind: neither udev nor a driver names it here
};

constexpr std::array kLinks{
    Link{"br0", "link add br0 type bridge", 0, 6, "bridge"},
    Link{"va0", "link add va0 type veth peer name vb0", 0, 6, "veth"},
    Link{"vb0", "link set vb0 master br0", 0, 6, "veth"},
    Link{"ifb0", "link add ifb0 type ifb", 0, 6, "ifb"},
    Link{"tplain", "tuntap add dev tplain mode tun", 0, 131, "tun"},
    Link{"tppp", nullptr, ARPHRD_PPP, 23, "tun"},
    Link{"tslip", nullptr, ARPHRD_SLIP, 28, "tun"},
    Link{"ttr", nullptr, ARPHRD_IEEE802_TR, 9, "tun"},
    Link{"tfddi", nullptr, ARPHRD_FDDI, 15, "tun"},
    Link{"twifi", nullptr, ARPHRD_IEEE80211, 71, "tun"},
    Link{"tipip", nullptr, ARPHRD_TUNNEL, 131, "tun"},
};

// Each link but loopback, in index order, with its index and link-layer address as the kernel
// gives them to `ip`, its type and its description.
TEST(NamespaceTest, EveryKindOfLinkAsTheKernelHasIt) {
  SKIP_WITHOUT("namespaces");
  NetNamespace ns;
  for (const Link& link : kLinks) {
    if (link.make != nullptr) {
      ns.Ip(link.make);
    } else {
      ::testing::AssertionResult made = ::testing::AssertionSuccess();
      ns.Enter([&] { made = MakeTun(link.name, link.linkType); });
      ASSERT_TRUE(made);
    }
  }
  using Reported = std::tuple<std::string, std::uint32_t, std::uint32_t, std::string, std::string>;
  std::vector<Reported> reported;
  for (const auto& adapter : ns.Snapshot().adapters) {
    std::string mac;
    for (const std::uint8_t byte : adapter.Address) {
      constexpr std::string_view kHex = "0123456789abcdef";
      mac += std::string(mac.empty() ? "" : ":") + kHex[byte >> 4U] + kHex[byte & 15U];
    }
    reported.emplace_back(adapter.AdapterName, adapter.Index, adapter.Type, adapter.Description,
                          mac);
  }
  std::vector<Reported> expected;
  for (const auto& link : nlohmann::json::parse(Shell("ip -j -n " + ns.Name() + " link show"))) {
    const auto* kind = std::find_if(kLinks.begin(), kLinks.end(), [&](const Link& known) {
      return known.name == link.at("ifname").get<std::string>();
    });
    if (kind != kLinks.end()) {
      // ip shows an IPIP link's four-byte address as an IPv4 address.
      const std::string address = link.value("address", "");
      expected.emplace_back(kind->name, link.at("ifindex").get<std::uint32_t>(), kind->type,
                            kind->description, address == "0.0.0.0" ? "00:00:00:00" : address);
    }
  }
  EXPECT_EQ(reported, expected);
}

// An adapter's addresses and gateways, each with its mask, and whether DHCP set it up.
std::string Described(const iphlp::AdapterInfo& adapter) {
  std::string text;
  for (const auto* list : {&adapter.IpAddressList, &adapter.GatewayList}) {
    for (const auto& node : *list) {
      text += node.IpAddress + "/" + node.IpMask + " ";
    }
    text += "| ";
  }
  return text + "dhcp " + std::to_string(adapter.DhcpEnabled);
}

// tests/linux/lab/addresses.batch: primaries before secondaries, a point-to-point address under
// its own /32, default routes of the main table by metric, and an address of finite lifetime,
// which was given for a time and is dated by it.
TEST(NamespaceTest, AddressesAndDefaultGateways) {
  SKIP_WITHOUT("namespaces");
  NetNamespace ns;
  ns.Ip("-batch " ADDRVUE_LAB_DIR "/addresses.batch");
  const std::int64_t before = std::time(nullptr);
  const SystemSnapshot snapshot = ns.Snapshot();
  const std::int64_t after = std::time(nullptr);
  const auto* e0 = FindAdapter(snapshot, "e0");
  const auto* e1 = FindAdapter(snapshot, "e1");
  ASSERT_TRUE(e0 != nullptr && e1 != nullptr);
  EXPECT_EQ(Described(*e0),
            "10.1.0.2/255.255.255.0 10.2.0.2/255.255.0.0 10.1.0.3/255.255.255.0 | "
            "10.1.0.254/255.255.255.255 10.1.0.1/255.255.255.255 | dhcp 0");
  EXPECT_EQ(e0->LeaseObtained, 0);
  EXPECT_EQ(Described(*e1),
            "10.3.0.2/255.255.255.0 10.4.0.1/255.255.255.255 10.5.0.2/255.255.255.0 | "
            "10.3.0.1/255.255.255.255 | dhcp 1");
  // std::time reads the coarse clock, which may still show the second before the snapshot's.
  EXPECT_GE(e1->LeaseObtained, before - 2);
  EXPECT_LE(e1->LeaseObtained, after + 1);
  EXPECT_GE(e1->LeaseExpires, before + 295);
  EXPECT_LE(e1->LeaseExpires, after + 301);
}

// 4 000 interfaces, more than one datagram of each dump holds: every link in index order with its
// address, and the report's walk over the answer does not stop short. (That the fill writes what
// the sizing call saw is the snapshot test's.)
TEST(NamespaceTest, FourThousandInterfaces) {
  SKIP_WITHOUT("namespaces");
  NetNamespace ns;
  FixtureTree files;
  std::string batch;
  const auto address = [](int i) {
    return "10.90." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
  };
  for (int i = 0; i < 2000; ++i) {
    batch += "link add a" + std::to_string(i) + " type veth peer name b" + std::to_string(i) +
             "\naddress add " + address(i) + "/16 dev a" + std::to_string(i) + "\n";
  }
  files.Write("/batch", batch);
  ns.Ip("-batch " + files.Path("/batch"));
  const SystemSnapshot snapshot = ns.Snapshot();
  ASSERT_EQ(snapshot.adapters.size(), 4000U);
  EXPECT_EQ(std::adjacent_find(snapshot.adapters.begin(), snapshot.adapters.end(),
                               [](const auto& a, const auto& b) { return a.Index >= b.Index; }),
            snapshot.adapters.end());
  for (const auto& adapter : snapshot.adapters) {
    const std::string& name = adapter.AdapterName;
    EXPECT_EQ(adapter.IpAddressList.at(0).IpAddress,
              name[0] == 'a' ? address(std::stoi(name.substr(1))) : "0.0.0.0")
        << name;
  }
  addrvue::testing::RecordingWindow window;
  ns.Enter([&] { Module1::ShowNetworkInfo(window, *iphlp::SystemIpHelper(), *DateNamesFor("C")); });
  const auto items = Items(window.Transcript());
  EXPECT_EQ(std::count(items.begin(), items.end(), "text:Adapter : Ethernet "), 4000);
}

// The host part from the namespace's own system at its own paths (tests/linux/lab/host): the host
// name up to its first dot, the resolver stub's upstream servers, Samba's NetBIOS settings and
// WINS servers, forwarding; and with no /sys at all the links still come from the kernel.
TEST(NamespaceTest, TheReportReadsTheNamespacesOwnSystem) {
  SKIP_WITHOUT("namespaces");
  NetNamespace ns;
  ns.Ip("link add s0 type veth peer name s1");
  ns.Ip("address add 10.71.0.2/24 dev s0");
  FixtureTree tree;
  tree.CopyIn(ADDRVUE_LAB_DIR "/host");
  const auto items = ReportItems(ns, tree,
                                 "hostname pc1.branch.example && sysctl -q -w "
                                 "net.ipv4.ip_forward=1 && mount -t tmpfs tmpfs /sys && ");
  EXPECT_THAT(
      items,
      ::testing::IsSupersetOf(
          {"text:ИМЯ КОМПЬЮТЕРА:  pc1", "text:DNS СЕРВИС---:  10.8.8.1",
           "box:DNS Servers:  10.8.8.2", "box:DNS Servers:  10.8.8.3", "text:ЕСТЬ ПОДКЛЮЧЕНИЕ",
           "box:Node type: Hybrid", "text:NetBIOS ИДЕНТИФИКАЦИЯ:  corp", "text:WINS Proxy Enabled ",
           "text:NetBIOS использует DNS", "text: адаптер: veth", "text:IP Address: 10.71.0.2",
           "box:Primary WINS Server: 10.7.0.1", "box:Secondary WINS Server: 10.7.0.2"}));
}

}  // namespace
}  // namespace addrvue::linux_source::testing
