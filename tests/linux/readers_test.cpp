// The file readers of the Linux source against small fixture trees.
#include <gtest/gtest.h>
#include <net/if_arp.h>
#include <sys/stat.h>

#include <ctime>

#include "platform/linux/adapter_type.h"
#include "platform/linux/device_description.h"
#include "platform/linux/dhclient_leases.h"
#include "platform/linux/dhcpcd_lease.h"
#include "platform/linux/network_manager_lease.h"
#include "platform/linux/networkd_lease.h"
#include "platform/linux/resolver_config.h"
#include "platform/linux/samba_config.h"
#include "tests/linux/fixture_tree.h"

namespace addrvue::linux_source {
namespace {

using testing::FixtureTree;
using Strings = std::vector<std::string>;

TEST(ResolverConfigTest, EveryIpv4ServerInOrderAndTheLastDomainOrSearchLine) {
  const auto config = ParseResolvConf(
      "# comment\n"
      "nameserver 10.0.0.1\n"
      "nameserver fe80::1\n"
      "nameserver 10.0.0.2 # trailing comment\n"
      "nameserver 10.0.0.3\n"
      "nameserver 10.0.0.4\n"
      "nameserver not-an-address\n"
      "domain first.example\n"
      "search a.example b.example\n"
      "options ndots:2\n");
  EXPECT_EQ(config.nameservers, (Strings{"10.0.0.1", "10.0.0.2", "10.0.0.3", "10.0.0.4"}));
  EXPECT_EQ(config.domain, "");
  EXPECT_EQ(config.search, (Strings{"a.example", "b.example"}));
}

TEST(ResolverConfigTest, TheLocalStubLeadsToTheUpstreamServers) {
  FixtureTree tree;
  tree.Write("/etc/resolv.conf", "nameserver 127.0.0.53\nsearch lan\n");
  tree.Write("/run/systemd/resolve/resolv.conf", "nameserver 192.0.2.7\nnameserver 192.0.2.8\n");
  const auto config = ReadResolverConfig(tree.Root());
  EXPECT_EQ(config.nameservers, (Strings{"192.0.2.7", "192.0.2.8"}));
  EXPECT_EQ(config.search, (Strings{"lan"}));

  // The stub beside another server is not replaced, and a missing upstream file keeps it.
  tree.Write("/etc/resolv.conf", "nameserver 127.0.0.53\nnameserver 10.1.1.1\n");
  EXPECT_EQ(ReadResolverConfig(tree.Root()).nameservers, (Strings{"127.0.0.53", "10.1.1.1"}));
  FixtureTree bare;
  bare.Write("/etc/resolv.conf", "nameserver 127.0.0.53\n");
  EXPECT_EQ(ReadResolverConfig(bare.Root()).nameservers, (Strings{"127.0.0.53"}));
}

TEST(ResolverConfigTest, AFileThatCannotBeReadGivesNothing) {
  FixtureTree tree;
  tree.Directory("/etc/resolv.conf");  // a directory cannot be read as a file
  const auto config = ReadResolverConfig(tree.Root());
  EXPECT_TRUE(config.nameservers.empty());
  EXPECT_TRUE(config.domain.empty());
}

TEST(HostIdentityTest, DomainFromTheDottedNameElseDomainElseFirstSearchEntry) {
  ResolverConfig resolver;
  resolver.domain = "conf.example";
  auto id = SplitHostName("box.corp.example", resolver);
  EXPECT_EQ(id.hostName, "box");
  EXPECT_EQ(id.domainName, "corp.example");
  id = SplitHostName("box", resolver);
  EXPECT_EQ(id.domainName, "conf.example");
  resolver.domain.clear();
  resolver.search = {"s1.example", "s2.example"};
  EXPECT_EQ(SplitHostName("box", resolver).domainName, "s1.example");
  resolver.search.clear();
  EXPECT_EQ(SplitHostName("box", resolver).domainName, "");
}

TEST(SambaConfigTest, GlobalNetbiosSettings) {
  const auto config = ParseSmbConf(
      "[global]\n"
      "   netbios scope = corp\n"
      "   WINS Proxy = yes\n"
      "   dns proxy = no\n"
      "   wins server = mary:192.0.2.10 192.0.2.11, host.example\n"
      "[share]\n"
      "   wins proxy = no\n");
  EXPECT_TRUE(config.configured);
  EXPECT_EQ(config.netbiosScope, "corp");
  EXPECT_TRUE(config.winsProxy);
  EXPECT_FALSE(config.dnsProxy);
  EXPECT_EQ(config.winsServers, (Strings{"192.0.2.10", "192.0.2.11"}));

  // Samba's own defaults where smb.conf says nothing; nothing at all without smb.conf.
  const auto defaults = ParseSmbConf("[global]\n workgroup = W\n");
  EXPECT_TRUE(defaults.dnsProxy);
  EXPECT_FALSE(defaults.winsProxy);
  FixtureTree tree;
  EXPECT_FALSE(ReadSambaConfig(tree.Root()).configured);
  EXPECT_FALSE(ReadSambaConfig(tree.Root()).dnsProxy);
}

TEST(DhclientLeasesTest, LastBlockPerInterfaceWinsWithUtcEpochAndNeverDates) {
  const auto leases = ParseDhclientLeases(R"(lease {
  interface "eth0";
  fixed-address 10.0.0.5;
  option dhcp-server-identifier 10.0.0.1;
  option dhcp-lease-time 600;
  expire 1 2026/01/05 10:00:00;
}
lease {
  interface "eth0";
  fixed-address 10.0.0.6;
  option subnet-mask 255.255.255.0;
  option routers 10.0.0.1;
  option dhcp-lease-time 120;
  option domain-name "a; b";
  option dhcp-server-identifier 10.0.0.2;
  option netbios-name-servers 10.0.0.44,10.0.0.45;
  option netbios-node-type 4;
  option netbios-scope "corp";
  renew 2 2026/01/06 10:00:00;
  expire 2 2026/01/06 10:02:00;
}
lease {
  interface "wlan0";
  fixed-address 192.168.1.9;
  expire epoch 1700000000;
}
lease {
  interface "eth1";
  fixed-address 172.16.0.9;
  option dhcp-lease-time 4294967295;
  expire never;
}
)");
  ASSERT_EQ(leases.size(), 3U);
  const DhcpLease& eth0 = leases.at("eth0");
  EXPECT_EQ(eth0.address, "10.0.0.6");
  EXPECT_EQ(eth0.server, "10.0.0.2");
  EXPECT_EQ(eth0.winsServers, (Strings{"10.0.0.44", "10.0.0.45"}));
  EXPECT_EQ(eth0.nodeType, 4U);
  EXPECT_EQ(eth0.scope, "corp");
  EXPECT_EQ(eth0.expires, 1767693720);  // 2026-01-06 10:02:00 UTC
  EXPECT_EQ(eth0.obtained, 1767693720 - 120);
  EXPECT_EQ(leases.at("wlan0").expires, 1700000000);
  EXPECT_FALSE(leases.at("wlan0").obtained);
  EXPECT_EQ(leases.at("eth1").expires, kNeverExpires);
  EXPECT_FALSE(leases.at("eth1").obtained);
}

TEST(DhclientLeasesTest, FilesOfDhclientAndOfNetworkManagerAreRead) {
  FixtureTree tree;
  tree.Write("/var/lib/dhcp/dhclient.eth0.leases",
             "lease {\n interface \"eth0\";\n fixed-address 10.0.0.5;\n expire epoch 100;\n}\n");
  tree.Write("/var/lib/NetworkManager/dhclient-0a1b-eth1.lease",
             "lease {\n interface \"eth1\";\n fixed-address 10.1.0.5;\n expire epoch 200;\n}\n");
  tree.Write("/var/lib/dhcp/later.leases",
             "lease {\n interface \"eth0\";\n fixed-address 10.0.0.7;\n expire epoch 300;\n}\n");
  tree.Directory("/var/lib/dhcp/unreadable.leases");
  const auto leases = ReadDhclientLeases(tree.Root());
  ASSERT_EQ(leases.size(), 2U);
  EXPECT_EQ(leases.at("eth0").address, "10.0.0.7");
  EXPECT_EQ(leases.at("eth1").address, "10.1.0.5");
}

// A DHCPACK as dhcpcd stores it.
std::vector<std::uint8_t> DhcpAck(const std::vector<std::vector<std::uint8_t>>& options) {
  std::vector<std::uint8_t> message(240, 0);
  message[0] = 2;  // BOOTREPLY
  const std::array<std::uint8_t, 4> yiaddr{10, 50, 0, 77};
  std::copy(yiaddr.begin(), yiaddr.end(), message.begin() + 16);
  const std::array<std::uint8_t, 4> cookie{99, 130, 83, 99};
  std::copy(cookie.begin(), cookie.end(), message.begin() + 236);
  for (const auto& option : options) {
    message.insert(message.end(), option.begin(), option.end());
  }
  message.push_back(255);
  return message;
}

TEST(DhcpcdLeaseTest, OptionsOfTheRawAcknowledgementAndTheFileTimeAsStart) {
  const auto message = DhcpAck({{53, 1, 5},
                                {54, 4, 10, 50, 0, 1},
                                {51, 4, 0, 0, 0, 120},
                                {44, 8, 10, 50, 0, 44, 10, 50, 0, 45},
                                {46, 1, 8},
                                {47, 5, 's', 'c', 'o', 'p', 'e'},
                                {0},
                                {3, 4, 10, 50, 0, 1}});
  const auto lease = ParseDhcpMessage(message, 1'000'000);
  ASSERT_TRUE(lease);
  EXPECT_EQ(lease->address, "10.50.0.77");
  EXPECT_EQ(lease->server, "10.50.0.1");
  EXPECT_EQ(lease->winsServers, (Strings{"10.50.0.44", "10.50.0.45"}));
  EXPECT_EQ(lease->nodeType, 8U);
  EXPECT_EQ(lease->scope, "scope");
  EXPECT_EQ(lease->obtained, 1'000'000);
  EXPECT_EQ(lease->expires, 1'000'120);
}

TEST(DhcpcdLeaseTest, TruncatedAndForeignBytesAreNeverReadPast) {
  auto message = DhcpAck({{54, 4, 10, 50, 0, 1}, {44, 8, 10, 50, 0, 44}});  // 44 claims 8, has 4
  message.pop_back();                                                       // and no end mark
  const auto lease = ParseDhcpMessage(message, std::nullopt);
  ASSERT_TRUE(lease);
  EXPECT_EQ(lease->server, "10.50.0.1");
  EXPECT_TRUE(lease->winsServers.empty());
  EXPECT_FALSE(ParseDhcpMessage(std::vector<std::uint8_t>(239, 0), std::nullopt));
  EXPECT_FALSE(ParseDhcpMessage(std::vector<std::uint8_t>(300, 0), std::nullopt));  // no cookie

  FixtureTree tree;
  const auto good = DhcpAck({{54, 4, 10, 50, 0, 1}});
  tree.Write("/var/lib/dhcpcd/eth0.lease", std::string(good.begin(), good.end()));
  tree.Write("/var/lib/dhcpcd/eth0.lease6", "ignored");
  tree.Write("/var/lib/dhcpcd/duid", "ignored");
  const auto leases = ReadDhcpcdLeases(tree.Root());
  ASSERT_EQ(leases.size(), 1U);
  EXPECT_EQ(leases.at("eth0").server, "10.50.0.1");
  struct stat info {};
  ASSERT_EQ(stat(tree.Path("/var/lib/dhcpcd/eth0.lease").c_str(), &info), 0);
  EXPECT_EQ(leases.at("eth0").obtained, info.st_mtim.tv_sec);
}

TEST(NetworkdLeaseTest, KeyValueAndJsonForms) {
  const auto plain = ParseNetworkdLease(
      "# This is private data. Do not parse.\n"
      "ADDRESS=10.60.0.5\nNETMASK=255.255.255.0\nROUTER=10.60.0.1\n"
      "SERVER_ADDRESS=10.60.0.1\nDNS=10.60.0.2 10.60.0.3\nLIFETIME=120\nT1=60\n");
  ASSERT_TRUE(plain);
  EXPECT_EQ(plain->address, "10.60.0.5");
  EXPECT_EQ(plain->server, "10.60.0.1");
  EXPECT_EQ(plain->leaseSeconds, 120U);
  EXPECT_FALSE(plain->expires);

  const auto json = ParseNetworkdLease(
      R"({"Address":[10,60,0,6],"ServerAddress":"10.60.0.1","LifetimeUSec":3600000000,)"
      R"("Hostname":"Address"})");
  ASSERT_TRUE(json);
  EXPECT_EQ(json->address, "10.60.0.6");
  EXPECT_EQ(json->server, "10.60.0.1");
  EXPECT_EQ(json->leaseSeconds, 3600U);

  FixtureTree tree;
  tree.Write("/run/systemd/netif/leases/7", "ADDRESS=10.60.0.5\n");
  tree.Write("/run/systemd/netif/leases/lo", "ADDRESS=10.60.0.9\n");
  tree.Write("/run/systemd/netif/leases/8", "NETMASK=255.0.0.0\n");
  const auto leases = ReadNetworkdLeases(tree.Root());
  ASSERT_EQ(leases.size(), 1U);
  EXPECT_EQ(leases.at(7).address, "10.60.0.5");
}

TEST(NetworkManagerLeaseTest, DeviceFileOptions) {
  FixtureTree tree;
  tree.Write("/run/NetworkManager/devices/4",
             "[device]\nstate=activated\n\n[dhcp4]\n"
             "dhcp4.ip_address=10.70.0.9\n"
             "dhcp4.dhcp_server_identifier=10.70.0.1\n"
             "dhcp4.dhcp_lease_time=120\n"
             "dhcp4.expiry=1800000120\n"
             "dhcp4.netbios_name_servers=10.70.0.44 10.70.0.45\n"
             "dhcp4.netbios_node_type=2\n"
             "dhcp4.netbios_scope=corp\n");
  tree.Write("/run/NetworkManager/devices/5", "[device]\nstate=activated\n");
  const auto leases = ReadNetworkManagerDeviceFiles(tree.Root());
  ASSERT_EQ(leases.size(), 1U);
  const DhcpLease& lease = leases.at(4);
  EXPECT_EQ(lease.address, "10.70.0.9");
  EXPECT_EQ(lease.server, "10.70.0.1");
  EXPECT_EQ(lease.winsServers, (Strings{"10.70.0.44", "10.70.0.45"}));
  EXPECT_EQ(lease.nodeType, 2U);
  EXPECT_EQ(lease.scope, "corp");
  EXPECT_EQ(lease.expires, 1800000120);
  EXPECT_EQ(lease.obtained, 1800000000);
}

TEST(AdapterTypeTest, LinkTypesGiveThePlatformsAdapterTypes) {
  EXPECT_EQ(AdapterTypeOf(ARPHRD_ETHER, false), 6U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_ETHER, true), 71U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_IEEE802_TR, false), 9U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_FDDI, false), 15U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_PPP, false), 23U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_SLIP, false), 28U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_IEEE80211, false), 71U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_TUNNEL, false), 131U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_IPGRE, false), 131U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_NONE, false), 131U);
  EXPECT_EQ(AdapterTypeOf(ARPHRD_INFINIBAND, false), 1U);
}

constexpr const char* kPciIds =
    "# pci.ids\n"
    "8086  Intel Corporation\n"
    "\t1533  I210 Gigabit Network Connection\n"
    "\t\t8086 0001  Ethernet Server Adapter I210-T1\n"
    "\t15b8  Ethernet Connection (2) I219-V\n"
    "10ec  Realtek Semiconductor Co., Ltd.\n"
    "\t8168  RTL8111/8168 PCI Express Gigabit Ethernet controller\n";

TEST(DeviceDescriptionTest, HardwareIdTables) {
  auto name = LookUpHardwareName(kPciIds, "8086", "15b8");
  ASSERT_TRUE(name);
  EXPECT_EQ(name->vendor, "Intel Corporation");
  EXPECT_EQ(name->model, "Ethernet Connection (2) I219-V");
  name = LookUpHardwareName(kPciIds, "8086", "8168");  // another vendor's device id
  ASSERT_TRUE(name);
  EXPECT_EQ(name->model, "");
  EXPECT_FALSE(LookUpHardwareName(kPciIds, "1af4", "1000"));
}

TEST(DeviceDescriptionTest, UdevThenIdTablesThenDriverThenNothing) {
  FixtureTree tree;
  tree.Write("/usr/share/misc/pci.ids", kPciIds);
  tree.Write("/usr/share/misc/usb.ids",
             "0bda  Realtek\n\t8153  RTL8153 Gigabit Ethernet Adapter\n");
  // eth0: udev knows it.
  tree.Write("/run/udev/data/n2",
             "I:1\nE:ID_MODEL_FROM_DATABASE=I210 Gigabit Network Connection\n"
             "E:ID_VENDOR_FROM_DATABASE=Intel Corporation\n");
  // eth1: a PCI device udev does not know.
  tree.Write("/sys/devices/pci0000:00/0000:00:1f.6/vendor", "0x10ec\n");
  tree.Write("/sys/devices/pci0000:00/0000:00:1f.6/device", "0x8168\n");
  tree.Link("/sys/class/net/eth1/device", tree.Path("/sys/devices/pci0000:00/0000:00:1f.6"));
  // eth2: a USB adapter; the ids are on the USB device above its interface.
  tree.Write("/sys/devices/usb1/1-1/idVendor", "0bda\n");
  tree.Write("/sys/devices/usb1/1-1/idProduct", "8153\n");
  tree.Directory("/sys/devices/usb1/1-1/1-1:1.0");
  tree.Link("/sys/class/net/eth2/device", tree.Path("/sys/devices/usb1/1-1/1-1:1.0"));
  // eth3: only its driver is known; wlan0: a wireless device.
  tree.Directory("/sys/devices/virtio0/driver-dir/virtio_net");
  tree.Link("/sys/devices/virtio0/driver", tree.Path("/sys/devices/virtio0/driver-dir/virtio_net"));
  tree.Link("/sys/class/net/eth3/device", tree.Path("/sys/devices/virtio0"));
  tree.Directory("/sys/class/net/wlan0/phy80211");

  DeviceReader reader(tree.Root());
  const auto read = [&](int index, const char* name, const char* bus) {
    LinkEntry link;
    link.index = index;
    link.name = name;
    link.kind = "";
    link.parentBus = bus;
    link.parentDevice = "parent";
    return reader.Read(link);
  };
  EXPECT_EQ(read(2, "eth0", "pci").description,
            "Intel Corporation I210 Gigabit Network Connection");
  EXPECT_EQ(read(3, "eth1", "pci").description,
            "Realtek Semiconductor Co., Ltd. RTL8111/8168 PCI Express Gigabit Ethernet controller");
  EXPECT_EQ(read(4, "eth2", "usb").description, "Realtek RTL8153 Gigabit Ethernet Adapter");
  EXPECT_EQ(read(5, "eth3", "virtio").description, "virtio_net");
  const auto wlan = read(6, "wlan0", "pci");
  EXPECT_TRUE(wlan.wireless);
  EXPECT_EQ(wlan.description, "");
  EXPECT_FALSE(read(2, "eth0", "pci").wireless);

  // A virtual link is named after its kind, and its files are never looked at.
  LinkEntry veth;
  veth.index = 2;  // udev's entry for index 2 must not be used
  veth.name = "veth0";
  veth.kind = "veth";
  EXPECT_EQ(reader.Read(veth).description, "veth");
}

TEST(SystemFilesTest, Latin1TextAndTimes) {
  EXPECT_EQ(ToLatin1("caf\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "caf\xE9 ? ?");
  EXPECT_EQ(ClampTime(-5), 0);
  EXPECT_EQ(ClampTime(2147483647), 2147483647);
  EXPECT_EQ(ClampTime(4102444800), 2147483647);  // 2100
  EXPECT_EQ(ClampTime(kNeverExpires), 2147483647);
  EXPECT_EQ(MaskOfPrefix(0), "0.0.0.0");
  EXPECT_EQ(MaskOfPrefix(20), "255.255.240.0");
  EXPECT_EQ(MaskOfPrefix(32), "255.255.255.255");
  EXPECT_EQ(CanonicalIpv4(" 10.0.0.1 "), "10.0.0.1");
  EXPECT_FALSE(CanonicalIpv4("10.0.0"));
  EXPECT_EQ(SystemRoot("/tmp/x/").Path("/etc/hosts"), "/tmp/x/etc/hosts");
  EXPECT_EQ(SystemRoot().Path("/etc/hosts"), "/etc/hosts");
}

}  // namespace
}  // namespace addrvue::linux_source
