// The Linux source against real network namespaces: links of every kind the kernel here can
// make, addresses and default routes, a private host name and resolv.conf, and the report's
// transcript run inside the namespace.
#include <gtest/gtest.h>
#include <net/if_arp.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <fstream>

#include "platform/ip_helper_layout.h"
#include "platform/system_ip_helper.h"
#include "tests/linux/fixture_tree.h"
#include "tests/linux/namespace_lab.h"

namespace addrvue::linux_source::testing {
namespace {

namespace L = iphlp::layout;

std::vector<std::uint8_t> MacOf(const NetNamespace& ns, const std::string& link) {
  const std::string text = Shell(ns.Ip("link show " + link));
  const auto at = text.find("link/ether ");
  std::vector<std::uint8_t> mac;
  if (at != std::string::npos) {
    const std::string digits = text.substr(at + 11, 17);
    for (const auto part : Words(digits, ":")) {
      mac.push_back(static_cast<std::uint8_t>(std::stoi(std::string(part), nullptr, 16)));
    }
  }
  return mac;
}

std::vector<std::string> Addresses(const std::vector<iphlp::AddrString>& list, bool masks = false) {
  std::vector<std::string> out;
  for (const auto& node : list) {
    out.push_back(masks ? node.IpAddress + "/" + node.IpMask : node.IpAddress);
  }
  return out;
}

TEST(NamespaceLinksTest, EveryKindOfLinkWithItsTypeIndexAddressAndDescription) {
  SKIP_WITHOUT_NAMESPACES();
  NetNamespace ns;
  Shell(ns.Ip("link add va0 type veth peer name vb0"));
  Shell(ns.Ip("link add br0 type bridge"));
  Shell(ns.Ip("link add ifb0 type ifb"));
  Shell(ns.Ip("link set vb0 master br0"));
  struct Tun {
    const char* name;
    unsigned short linkType;
    std::uint32_t expectedType;
  };
  const std::vector<Tun> tuns{{"tppp", ARPHRD_PPP, 23},        {"tslip", ARPHRD_SLIP, 28},
                              {"ttr", ARPHRD_IEEE802_TR, 9},   {"tfddi", ARPHRD_FDDI, 15},
                              {"twifi", ARPHRD_IEEE80211, 71}, {"tipip", ARPHRD_TUNNEL, 131}};
  ns.Enter([&] {
    for (const Tun& tun : tuns) {
      MakeTunWithLinkType(tun.name, tun.linkType);
    }
  });
  Shell(ns.Ip("tuntap add dev tplain mode tun"));

  const SystemSnapshot snapshot = ns.Snapshot();
  EXPECT_FALSE(FindAdapter(snapshot, "lo"));
  ASSERT_EQ(snapshot.adapters.size(), 5U + tuns.size());
  EXPECT_TRUE(std::is_sorted(snapshot.adapters.begin(), snapshot.adapters.end(),
                             [](const auto& a, const auto& b) { return a.Index < b.Index; }));
  for (const auto& adapter : snapshot.adapters) {
    SCOPED_TRACE(adapter.AdapterName);
    const int index = ns.IndexOf(adapter.AdapterName);
    EXPECT_EQ(adapter.Index, static_cast<std::uint32_t>(index));
    EXPECT_EQ(adapter.ComboIndex, static_cast<std::uint32_t>(index));
    EXPECT_EQ(adapter.DhcpEnabled, 0U);
    EXPECT_EQ(Addresses(adapter.IpAddressList, true), std::vector<std::string>{"0.0.0.0/0.0.0.0"});
    EXPECT_EQ(Addresses(adapter.GatewayList), std::vector<std::string>{"0.0.0.0"});
  }
  for (const char* name : {"va0", "vb0"}) {
    const auto* veth = FindAdapter(snapshot, name);
    ASSERT_TRUE(veth);
    EXPECT_EQ(veth->Type, 6U);
    EXPECT_EQ(veth->Description, "veth");
    EXPECT_EQ(veth->Address, MacOf(ns, name));
    EXPECT_EQ(veth->Address.size(), 6U);
  }
  EXPECT_EQ(FindAdapter(snapshot, "br0")->Description, "bridge");
  EXPECT_EQ(FindAdapter(snapshot, "br0")->Address, MacOf(ns, "br0"));
  EXPECT_EQ(FindAdapter(snapshot, "ifb0")->Description, "ifb");
  EXPECT_EQ(FindAdapter(snapshot, "ifb0")->Type, 6U);
  for (const Tun& tun : tuns) {
    const auto* adapter = FindAdapter(snapshot, tun.name);
    ASSERT_TRUE(adapter) << tun.name;
    EXPECT_EQ(adapter->Type, tun.expectedType) << tun.name;
    EXPECT_EQ(adapter->Description, "tun") << tun.name;
  }
  EXPECT_EQ(FindAdapter(snapshot, "tplain")->Type, 131U);
  EXPECT_TRUE(FindAdapter(snapshot, "tplain")->Address.empty());
}

TEST(NamespaceLinksTest, AThousandInterfacesAreAllReportedInIndexOrder) {
  SKIP_WITHOUT_NAMESPACES();
  NetNamespace ns;
  FixtureTree files;
  std::string batch;
  for (int i = 0; i < 500; ++i) {
    batch += "link add m" + std::to_string(i) + " type veth peer name n" + std::to_string(i) + "\n";
    batch += "address add 10.80." + std::to_string(i / 200) + "." + std::to_string(i % 200 + 1) +
             "/16 dev m" + std::to_string(i) + "\n";
  }
  files.Write("/batch", batch);
  Shell(ns.Ip("-batch " + files.Path("/batch")));
  const SystemSnapshot snapshot = ns.Snapshot();
  ASSERT_EQ(snapshot.adapters.size(), 1000U);
  std::size_t withAddress = 0;
  for (std::size_t i = 1; i < snapshot.adapters.size(); ++i) {
    EXPECT_LT(snapshot.adapters[i - 1].Index, snapshot.adapters[i].Index);
  }
  for (const auto& adapter : snapshot.adapters) {
    withAddress += adapter.IpAddressList.front().IpAddress != "0.0.0.0" ? 1 : 0;
  }
  EXPECT_EQ(withAddress, 500U);
  EXPECT_EQ(Addresses(FindAdapter(snapshot, "m499")->IpAddressList, true),
            std::vector<std::string>{"10.80.2.100/255.255.0.0"});
}

class NamespaceAddressTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_NAMESPACES();
    ns_ = std::make_unique<NetNamespace>();
    const auto ip = [&](const std::string& args) { Shell(ns_->Ip(args)); };
    ip("link add e0 type veth peer name e1");
    ip("link set e0 up");
    ip("link set e1 up");
    ip("address add 10.1.0.2/24 dev e0");
    ip("address add 10.1.0.3/24 dev e0");  // a secondary of 10.1.0.2
    ip("address add 10.2.0.2/16 dev e0");
    ip("address add 10.3.0.2/24 dev e1");
    ip("address add 10.4.0.1 peer 10.4.0.2/32 dev e1");
    ip("address add 10.5.0.2/24 dev e1 valid_lft 300 preferred_lft 300");
    ip("route add default via 10.1.0.1 dev e0 metric 200");
    ip("route add default via 10.3.0.1 dev e1 metric 100");
    ip("route add default via 10.1.0.254 dev e0 metric 50");
    ip("route add default via 10.3.0.9 dev e1 table 100");
    ip("route add 10.6.0.0/16 via 10.3.0.1 dev e1");
  }

  std::unique_ptr<NetNamespace> ns_;
};

TEST_F(NamespaceAddressTest, AddressesPrimariesFirstAndDefaultGatewaysByMetric) {
  const std::int64_t before = std::time(nullptr);
  const SystemSnapshot snapshot = ns_->Snapshot();
  const std::int64_t after = std::time(nullptr);
  const auto* e0 = FindAdapter(snapshot, "e0");
  const auto* e1 = FindAdapter(snapshot, "e1");
  ASSERT_TRUE(e0 && e1);
  EXPECT_EQ(Addresses(e0->IpAddressList, true),
            (std::vector<std::string>{"10.1.0.2/255.255.255.0", "10.2.0.2/255.255.0.0",
                                      "10.1.0.3/255.255.255.0"}));
  EXPECT_EQ(Addresses(e0->GatewayList), (std::vector<std::string>{"10.1.0.254", "10.1.0.1"}));
  EXPECT_EQ(e0->DhcpEnabled, 0U);
  EXPECT_EQ(e0->LeaseObtained, 0);
  EXPECT_EQ(Addresses(e1->IpAddressList, true),
            (std::vector<std::string>{"10.3.0.2/255.255.255.0", "10.4.0.1/255.255.255.255",
                                      "10.5.0.2/255.255.255.0"}));
  EXPECT_EQ(Addresses(e1->GatewayList), (std::vector<std::string>{"10.3.0.1"}));
  // An address with a finite lifetime was given by someone for a time: its lifetimes date it.
  EXPECT_EQ(e1->DhcpEnabled, 1U);
  // std::time reads the coarse real-time clock, which may still show the second before the one
  // the snapshot read: one second of slack on the late side.
  EXPECT_GE(e1->LeaseObtained, before - 2);
  EXPECT_LE(e1->LeaseObtained, after + 1);
  EXPECT_GE(e1->LeaseExpires, before + 295);
  EXPECT_LE(e1->LeaseExpires, after + 301);
}

std::vector<std::size_t> AdapterOffsets(const std::vector<std::byte>& buffer) {
  std::vector<std::size_t> offsets{0};
  for (;;) {
    std::uint32_t next = 0;
    std::memcpy(&next, buffer.data() + offsets.back() + L::adapter::Next, 4);
    if (next == 0 || next + L::adapter::kSize > buffer.size() || offsets.size() > 100) {
      return offsets;
    }
    offsets.push_back(next);
  }
}

TEST_F(NamespaceAddressTest, TheFillAfterASizingCallWritesWhatTheSizingCallSaw) {
  ns_->Enter([&] {
    const auto helper = iphlp::SystemIpHelper();
    std::uint32_t size = 0;
    ASSERT_EQ(helper->GetAdaptersInfo(nullptr, &size), L::kErrorBufferOverflow);
    Shell(ns_->Ip("link add late0 type veth peer name late1"));  // between the two calls
    std::vector<std::byte> buffer(size);
    ASSERT_EQ(helper->GetAdaptersInfo(buffer.data(), &size), L::kNoError);
    EXPECT_EQ(AdapterOffsets(buffer).size(), 2U);
    // A new sizing call sees the machine as it is now.
    std::uint32_t newSize = 0;
    ASSERT_EQ(helper->GetAdaptersInfo(nullptr, &newSize), L::kErrorBufferOverflow);
    std::vector<std::byte> again(newSize);
    ASSERT_EQ(helper->GetAdaptersInfo(again.data(), &newSize), L::kNoError);
    const auto offsets = AdapterOffsets(again);
    ASSERT_EQ(offsets.size(), 4U);
    std::vector<std::string> names;
    for (const std::size_t at : offsets) {
      names.emplace_back(
          reinterpret_cast<const char*>(again.data() + at + L::adapter::AdapterName));
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"e0", "e1", "late0", "late1"}));
  });
}

std::string ToolPath() {
  return ADDRVUE_REPORT_TRANSCRIPT;
}

// Whether `wanted` appear in `items` in this order (others may come between).
::testing::AssertionResult InOrder(const std::vector<std::string>& items,
                                   const std::vector<std::string>& wanted) {
  auto at = items.begin();
  for (const auto& item : wanted) {
    at = std::find(at, items.end(), item);
    if (at == items.end()) {
      std::string all;
      for (const auto& i : items) {
        all += "  " + i + "\n";
      }
      return ::testing::AssertionFailure() << "missing (in order) " << item << " in\n" << all;
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(NamespaceAddressTest, TheReportInsideTheNamespaceWithItsOwnHostNameAndResolvConf) {
  FixtureTree files;
  files.Write("/resolv.conf", "nameserver 10.9.9.1\nnameserver 10.9.9.2\nsearch corp.example\n");
  const std::string transcript =
      Shell("ip netns exec " + ns_->Name() + " unshare --uts --mount sh -c " +
            Quoted("hostname pc1.branch.example && mount --bind " + files.Path("/resolv.conf") +
                   " /etc/resolv.conf && exec " + ToolPath()));
  const auto items = Items(transcript);
  EXPECT_TRUE(InOrder(
      items,
      {"text:ИМЯ КОМПЬЮТЕРА:  pc1", "text:DNS СЕРВИС---:  10.9.9.1", "text:584",
       "box:DNS Servers:  10.9.9.2", "box:Node type: Broadcast", "text:НЕТ ПОДКЛЮЧЕНИЯ",
       // e1 (the peer made first has the lower index)
       "text:Adapter : Ethernet ", "text: адаптер: veth", "text:DHCP включен ",
       "text:IP Address: 10.3.0.2", "box:IP Address: 10.4.0.1", "box:Subnet Mask: 255.255.255.255",
       "text:Точка входа : 10.3.0.1", "box:DHCP Server: ",
       // e0
       "text:Adapter : Ethernet ", "text: адаптер: veth", "text:DHCP отключен ",
       "text:IP Address: 10.1.0.2", "box:IP Address: 10.2.0.2", "box:IP Address: 10.1.0.3",
       "text:Точка входа : 10.1.0.254", "box:IP Address: 10.1.0.1",
       "box:Lease Obtained: Thursday, Jan 1 00:00:00 1970"}));
  EXPECT_EQ(std::count(items.begin(), items.end(), "text:Adapter : Ethernet "), 2);

  // With the resolver stub as the only server, its upstream servers are reported.
  files.Write("/stub.conf", "nameserver 127.0.0.53\n");
  files.Write("/upstream.conf", "nameserver 10.8.8.1\nnameserver 10.8.8.2\nnameserver 10.8.8.3\n");
  const std::string stub = Shell(
      "ip netns exec " + ns_->Name() + " unshare --uts --mount sh -c " +
      Quoted("hostname pc2 && mount --bind " + files.Path("/stub.conf") +
             " /etc/resolv.conf && mount -t tmpfs tmpfs /run && mkdir -p /run/systemd/resolve && "
             "cp " +
             files.Path("/upstream.conf") + " /run/systemd/resolve/resolv.conf && exec " +
             ToolPath()));
  EXPECT_TRUE(InOrder(Items(stub), {"text:ИМЯ КОМПЬЮТЕРА:  pc2", "text:DNS СЕРВИС---:  10.8.8.1",
                                    "box:DNS Servers:  10.8.8.2", "box:DNS Servers:  10.8.8.3"}));
}

TEST(NamespaceHostTest, RoutingFlagFollowsTheNamespacesForwarding) {
  SKIP_WITHOUT_NAMESPACES();
  NetNamespace ns;
  Shell("ip netns exec " + ns.Name() + " sysctl -q -w net.ipv4.ip_forward=1");
  const std::string transcript = Shell("ip netns exec " + ns.Name() + " " + ToolPath());
  const auto items = Items(transcript);
  EXPECT_TRUE(InOrder(items, {"text:ЕСТЬ ПОДКЛЮЧЕНИЕ"}));
  // A namespace with no interface but loopback has no adapter: the report says so and ends.
  EXPECT_EQ(std::count(items.begin(), items.end(), "text:Adapter : Ethernet "), 0);
}

TEST(NamespaceHostTest, SambasNetbiosSettingsWhereSambaIsConfigured) {
  SKIP_WITHOUT_NAMESPACES();
  NetNamespace ns;
  Shell(ns.Ip("link add s0 type veth peer name s1"));
  FixtureTree files;
  files.Write("/smb.conf",
              "[global]\n  netbios scope = corp\n  wins proxy = yes\n  dns proxy = yes\n"
              "  wins server = 10.7.0.1 10.7.0.2\n");
  files.Directory("/upper");
  files.Directory("/work");
  // /etc gets a private overlay so that smb.conf can be placed without touching the host's.
  const std::string transcript =
      Shell("ip netns exec " + ns.Name() + " unshare --mount sh -c " +
            Quoted("mount -t overlay overlay -o lowerdir=/etc,upperdir=" + files.Path("/upper") +
                   ",workdir=" + files.Path("/work") + " /etc && mkdir -p /etc/samba && cp " +
                   files.Path("/smb.conf") + " /etc/samba/smb.conf && exec " + ToolPath()));
  EXPECT_TRUE(InOrder(
      Items(transcript),
      {"box:Node type: Hybrid", "text:NetBIOS ИДЕНТИФИКАЦИЯ:  corp", "text:WINS Proxy Enabled ",
       "text:NetBIOS использует DNS", "box:Primary WINS Server: 10.7.0.1",
       "box:Secondary WINS Server: 10.7.0.2", "box:Primary WINS Server: 10.7.0.1"}));
}

}  // namespace
}  // namespace addrvue::linux_source::testing
