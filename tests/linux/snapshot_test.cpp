// Putting the facts into the records, the two-call protocol of the Linux IP Helper, and the
// netlink message parsers against hand-built messages.
#include <gtest/gtest.h>
#include <linux/if_addr.h>
#include <linux/if_link.h>
#include <linux/rtnetlink.h>
#include <net/if.h>
#include <net/if_arp.h>

#include <cstring>

#include "platform/ip_helper_layout.h"
#include "platform/linux/linux_ip_helper.h"
#include "platform/linux/snapshot.h"

namespace addrvue::linux_source {
namespace {

namespace L = iphlp::layout;

LinkEntry Link(int index, const char* name, std::uint16_t type = ARPHRD_ETHER) {
  LinkEntry link;
  link.index = index;
  link.name = name;
  link.linkType = type;
  link.address = {0x02, 0x00, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(index)};
  link.kind = "veth";
  return link;
}

AddressEntry Address(int index, std::array<std::uint8_t, 4> local, unsigned prefix,
                     bool secondary = false) {
  AddressEntry a;
  a.index = index;
  a.local = local;
  a.prefixLength = prefix;
  a.secondary = secondary;
  return a;
}

SystemFacts Machine() {
  SystemFacts facts;
  facts.now = 1'800'000'000;
  facts.sinceBootCentiseconds = 100'000;
  facts.kernelHostName = "box.corp.example";
  facts.resolver.nameservers = {"10.0.0.53", "10.0.0.54", "10.0.0.55", "10.0.0.56"};
  LinkEntry lo = Link(1, "lo", ARPHRD_LOOPBACK);
  lo.flags = IFF_LOOPBACK;
  facts.kernel.links = {lo, Link(2, "eth0"), Link(3, "eth1"), Link(4, "eth2")};
  facts.kernel.addresses = {Address(1, {127, 0, 0, 1}, 8), Address(2, {10, 0, 0, 9}, 24, true),
                            Address(2, {10, 0, 0, 5}, 24), Address(2, {10, 1, 0, 5}, 16)};
  facts.kernel.defaultRoutes = {
      {2, {10, 0, 0, 1}, 10}, {3, {10, 2, 0, 1}, 20}, {2, {10, 1, 0, 1}, 30}};
  return facts;
}

TEST(SnapshotAssemblyTest, AdaptersHoldWhatTheKernelHolds) {
  const SystemSnapshot s = AssembleSnapshot(Machine());
  EXPECT_EQ(s.params.HostName, "box");
  EXPECT_EQ(s.params.DomainName, "corp.example");
  ASSERT_EQ(s.params.DnsServers.size(), 4U);  // however many
  EXPECT_EQ(s.params.DnsServers[3].IpAddress, "10.0.0.56");
  EXPECT_EQ(s.params.NodeType, 1U);  // no WINS server known
  EXPECT_EQ(s.params.EnableProxy, 0U);
  EXPECT_EQ(s.params.EnableDns, 0U);

  ASSERT_EQ(s.adapters.size(), 3U);  // no loopback
  const iphlp::AdapterInfo& eth0 = s.adapters[0];
  EXPECT_EQ(eth0.AdapterName, "eth0");
  EXPECT_EQ(eth0.Index, 2U);
  EXPECT_EQ(eth0.ComboIndex, 2U);
  EXPECT_EQ(eth0.Type, 6U);
  EXPECT_EQ(eth0.Description, "veth");
  ASSERT_EQ(eth0.IpAddressList.size(), 3U);  // primaries first
  EXPECT_EQ(eth0.IpAddressList[0].IpAddress, "10.0.0.5");
  EXPECT_EQ(eth0.IpAddressList[1].IpAddress, "10.1.0.5");
  EXPECT_EQ(eth0.IpAddressList[1].IpMask, "255.255.0.0");
  EXPECT_EQ(eth0.IpAddressList[2].IpAddress, "10.0.0.9");
  ASSERT_EQ(eth0.GatewayList.size(), 2U);
  EXPECT_EQ(eth0.GatewayList[0].IpAddress, "10.0.0.1");
  EXPECT_EQ(eth0.GatewayList[1].IpAddress, "10.1.0.1");
  EXPECT_EQ(eth0.DhcpEnabled, 0U);
  EXPECT_EQ(eth0.LeaseObtained, 0);

  const iphlp::AdapterInfo& eth2 = s.adapters[2];
  ASSERT_EQ(eth2.IpAddressList.size(), 1U);
  EXPECT_EQ(eth2.IpAddressList[0].IpAddress, "0.0.0.0");
  EXPECT_EQ(eth2.IpAddressList[0].IpMask, "0.0.0.0");
  ASSERT_EQ(eth2.GatewayList.size(), 1U);
  EXPECT_EQ(eth2.GatewayList[0].IpAddress, "0.0.0.0");
}

TEST(SnapshotAssemblyTest, ACurrentLeaseOfAnAddressTheInterfaceHolds) {
  SystemFacts facts = Machine();
  DhcpLease stale;  // an address the interface no longer holds
  stale.address = "10.0.0.200";
  stale.server = "10.9.9.9";
  DhcpLease expired;
  expired.address = "10.0.0.5";
  expired.server = "10.9.9.8";
  expired.expires = facts.now - 1;
  DhcpLease current;
  current.address = "10.0.0.5";
  current.server = "10.0.0.1";
  current.winsServers = {"10.0.0.44", "10.0.0.45", "10.0.0.46"};
  current.nodeType = 4;
  current.scope = "corp";
  current.obtained = facts.now - 60;
  current.expires = kNeverExpires;
  facts.leases[2] = {stale, expired, current};
  const SystemSnapshot s = AssembleSnapshot(facts);
  const iphlp::AdapterInfo& eth0 = s.adapters[0];
  EXPECT_EQ(eth0.DhcpEnabled, 1U);
  EXPECT_EQ(eth0.DhcpServer.IpAddress, "10.0.0.1");
  EXPECT_EQ(eth0.HaveWins, 1U);
  EXPECT_EQ(eth0.PrimaryWinsServer.IpAddress, "10.0.0.44");
  EXPECT_EQ(eth0.SecondaryWinsServer.IpAddress, "10.0.0.45");
  EXPECT_EQ(eth0.LeaseObtained, 1'800'000'000 - 60);
  EXPECT_EQ(eth0.LeaseExpires, 2147483647);
  EXPECT_EQ(s.params.NodeType, 4U);
  EXPECT_EQ(s.params.ScopeId, "corp");
  EXPECT_EQ(s.adapters[1].DhcpEnabled, 0U);
  EXPECT_EQ(s.adapters[1].HaveWins, 0U);
}

TEST(SnapshotAssemblyTest, KernelLifetimesDateALeaseNoStoreDates) {
  SystemFacts facts = Machine();
  AddressEntry dynamic = Address(3, {10, 2, 0, 7}, 24);
  dynamic.permanent = false;
  dynamic.validSeconds = 90;
  dynamic.updatedCentiseconds = facts.sinceBootCentiseconds - 3000;  // 30 s ago
  facts.kernel.addresses.push_back(dynamic);
  DhcpLease networkd;  // no absolute times, as networkd keeps it
  networkd.address = "10.2.0.7";
  networkd.server = "10.2.0.1";
  networkd.leaseSeconds = 120;
  facts.leases[3] = {networkd};
  // A finite lifetime alone tells that DHCP (or another dynamic source) set the address.
  AddressEntry onlyKernel = Address(4, {10, 3, 0, 7}, 24);
  onlyKernel.permanent = false;
  onlyKernel.validSeconds = 4'000'000'000U;  // ends past 2038
  onlyKernel.updatedCentiseconds = facts.sinceBootCentiseconds;
  facts.kernel.addresses.push_back(onlyKernel);

  const SystemSnapshot s = AssembleSnapshot(facts);
  const iphlp::AdapterInfo& eth1 = s.adapters[1];
  EXPECT_EQ(eth1.DhcpEnabled, 1U);
  EXPECT_EQ(eth1.DhcpServer.IpAddress, "10.2.0.1");
  EXPECT_EQ(eth1.LeaseObtained, facts.now - 30);
  EXPECT_EQ(eth1.LeaseExpires, facts.now + 90);
  const iphlp::AdapterInfo& eth2 = s.adapters[2];
  EXPECT_EQ(eth2.DhcpEnabled, 1U);
  EXPECT_EQ(eth2.DhcpServer.IpAddress, "");
  EXPECT_EQ(eth2.LeaseObtained, facts.now);
  EXPECT_EQ(eth2.LeaseExpires, 2147483647);
}

TEST(SnapshotAssemblyTest, SambaFillsWhatNoLeaseTells) {
  SystemFacts facts = Machine();
  facts.samba.configured = true;
  facts.samba.winsProxy = true;
  facts.samba.dnsProxy = true;
  facts.samba.netbiosScope = "smbscope";
  facts.samba.winsServers = {"10.0.0.60"};
  facts.kernelHostName = "caf\xC3\xA9";
  facts.ipForwarding = true;
  const SystemSnapshot s = AssembleSnapshot(facts);
  EXPECT_EQ(s.params.HostName, "caf\xE9");
  EXPECT_EQ(s.params.NodeType, 8U);
  EXPECT_EQ(s.params.ScopeId, "smbscope");
  EXPECT_EQ(s.params.EnableRouting, 1U);
  EXPECT_EQ(s.params.EnableProxy, 1U);
  EXPECT_EQ(s.params.EnableDns, 1U);
  EXPECT_EQ(s.adapters[0].HaveWins, 1U);
  EXPECT_EQ(s.adapters[0].PrimaryWinsServer.IpAddress, "10.0.0.60");
  EXPECT_EQ(s.adapters[0].SecondaryWinsServer.IpAddress, "");
}

std::uint32_t U32At(const std::vector<std::byte>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

TEST(LinuxIpHelperTest, TheFillWritesTheSnapshotTheSizingCallTook) {
  int taken = 0;
  std::size_t adapters = 1;
  const auto helper = SnapshotIpHelper([&] {
    ++taken;
    SystemSnapshot s;
    s.params.HostName = "h" + std::to_string(taken);
    s.adapters.resize(adapters);
    for (std::size_t i = 0; i < adapters; ++i) {
      s.adapters[i].AdapterName = "eth" + std::to_string(i);
      s.adapters[i].IpAddressList = {{"10.0.0.1", "255.0.0.0", 0}, {"10.0.0.2", "255.0.0.0", 0}};
    }
    return s;
  });

  EXPECT_EQ(helper->GetAdaptersInfo(nullptr, nullptr), L::kErrorInvalidParameter);
  EXPECT_EQ(taken, 0);

  std::uint32_t size = 0;
  ASSERT_EQ(helper->GetAdaptersInfo(nullptr, &size), L::kErrorBufferOverflow);
  EXPECT_EQ(size, L::adapter::kSize + L::addr::kSize);
  adapters = 3;  // the system changes between the two calls
  std::vector<std::byte> buffer(size);
  ASSERT_EQ(helper->GetAdaptersInfo(buffer.data(), &size), L::kNoError);
  EXPECT_EQ(taken, 1);
  EXPECT_EQ(U32At(buffer, L::adapter::Next), 0U);
  // The second address node follows the record; Next holds its offset.
  EXPECT_EQ(U32At(buffer, L::adapter::IpAddressList + L::addr::Next), L::adapter::kSize);
  EXPECT_EQ(helper->OffsetOfReference(L::adapter::kSize, buffer.data()), L::adapter::kSize);

  // A fill with no sizing before it takes a fresh snapshot; one too small keeps it for the next.
  std::vector<std::byte> small(100);
  size = static_cast<std::uint32_t>(small.size());
  ASSERT_EQ(helper->GetAdaptersInfo(small.data(), &size), L::kErrorBufferOverflow);
  EXPECT_EQ(taken, 2);
  EXPECT_EQ(size, 3 * (L::adapter::kSize + L::addr::kSize));
  adapters = 5;
  std::vector<std::byte> large(size);
  ASSERT_EQ(helper->GetAdaptersInfo(large.data(), &size), L::kNoError);
  EXPECT_EQ(taken, 2);
  EXPECT_EQ(U32At(large, L::adapter::Next), L::adapter::kSize);

  // The other query's first pair shares the snapshot the adapters were last answered from; its
  // second pair takes a fresh one.
  for (const char* host : {"h2", "h3"}) {
    size = 0;
    ASSERT_EQ(helper->GetNetworkParams(nullptr, &size), L::kErrorBufferOverflow);
    EXPECT_EQ(size, L::fixed::kSize);
    std::vector<std::byte> params(size);
    ASSERT_EQ(helper->GetNetworkParams(params.data(), &size), L::kNoError);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(params.data())), host);
  }
  EXPECT_EQ(taken, 3);
  EXPECT_EQ(helper->TextCodePage()[0xE9], u'\u00E9');
}

TEST(LinuxIpHelperTest, NoAdapterAnswersNoData) {
  const auto helper = SnapshotIpHelper([] { return SystemSnapshot{}; });
  std::uint32_t size = 0;
  EXPECT_EQ(helper->GetAdaptersInfo(nullptr, &size), L::kErrorNoData);
  std::vector<std::byte> buffer(L::adapter::kSize);
  size = L::adapter::kSize;
  EXPECT_EQ(helper->GetAdaptersInfo(buffer.data(), &size), L::kErrorNoData);
}

// Hand-built netlink payloads.
class Payload {
 public:
  template <typename T>
  explicit Payload(const T& header) {
    Append(&header, sizeof header);
  }
  Payload& Attribute(std::uint16_t type, const void* data, std::size_t length) {
    rtattr attr{};
    attr.rta_len = static_cast<std::uint16_t>(RTA_LENGTH(length));
    attr.rta_type = type;
    Append(&attr, sizeof attr);
    Append(data, length);
    return *this;
  }
  Payload& U32(std::uint16_t type, std::uint32_t value) { return Attribute(type, &value, 4); }
  Payload& Text(std::uint16_t type, const std::string& text) {
    return Attribute(type, text.c_str(), text.size() + 1);
  }
  std::vector<std::byte> bytes;

 private:
  void Append(const void* data, std::size_t length) {
    const auto* p = static_cast<const std::byte*>(data);
    bytes.insert(bytes.end(), p, p + length);
    bytes.resize(RTA_ALIGN(bytes.size()));
  }
};

TEST(NetlinkParseTest, LinksAddressesAndDefaultRoutes) {
  ifinfomsg info{};
  info.ifi_index = 7;
  info.ifi_type = ARPHRD_ETHER;
  const std::array<std::uint8_t, 6> mac{2, 1, 2, 3, 4, 5};
  Payload link(info);
  link.Text(IFLA_IFNAME, "eth7").Attribute(IFLA_ADDRESS, mac.data(), mac.size());
  link.Text(IFLA_PARENT_DEV_BUS_NAME, "pci").Text(IFLA_PARENT_DEV_NAME, "0000:00:03.0");
  const auto parsed = ParseLinkMessage(link.bytes);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->name, "eth7");
  EXPECT_EQ(parsed->address, (std::vector<std::uint8_t>{2, 1, 2, 3, 4, 5}));
  EXPECT_EQ(parsed->parentBus, "pci");

  ifaddrmsg addr{};
  addr.ifa_family = AF_INET;
  addr.ifa_index = 7;
  addr.ifa_prefixlen = 32;
  const std::array<std::uint8_t, 4> peer{10, 0, 0, 2};
  const std::array<std::uint8_t, 4> local{10, 0, 0, 1};
  ifa_cacheinfo cache{};
  cache.ifa_valid = 300;
  cache.tstamp = 4242;
  Payload address(addr);
  address.Attribute(IFA_ADDRESS, peer.data(), 4).Attribute(IFA_LOCAL, local.data(), 4);
  address.U32(IFA_FLAGS, IFA_F_SECONDARY).Attribute(IFA_CACHEINFO, &cache, sizeof cache);
  const auto a = ParseAddressMessage(address.bytes);
  ASSERT_TRUE(a);
  EXPECT_EQ(a->local, local);  // the local end of a point-to-point link, not its peer
  EXPECT_TRUE(a->secondary);
  EXPECT_FALSE(a->permanent);
  EXPECT_EQ(a->validSeconds, 300U);
  EXPECT_EQ(a->updatedCentiseconds, 4242U);

  rtmsg route{};
  route.rtm_family = AF_INET;
  route.rtm_table = RT_TABLE_MAIN;
  route.rtm_type = RTN_UNICAST;
  const std::array<std::uint8_t, 4> gateway{10, 0, 0, 254};
  Payload main(route);
  main.U32(RTA_OIF, 7).Attribute(RTA_GATEWAY, gateway.data(), 4).U32(RTA_PRIORITY, 600);
  const auto routes = ParseDefaultRouteMessage(main.bytes);
  ASSERT_EQ(routes.size(), 1U);
  EXPECT_EQ(routes[0].outIndex, 7);
  EXPECT_EQ(routes[0].gateway, gateway);
  EXPECT_EQ(routes[0].metric, 600U);

  Payload other(route);  // another table
  other.U32(RTA_TABLE, 100).U32(RTA_OIF, 7).Attribute(RTA_GATEWAY, gateway.data(), 4);
  EXPECT_TRUE(ParseDefaultRouteMessage(other.bytes).empty());
  rtmsg subnet = route;
  subnet.rtm_dst_len = 24;
  Payload notDefault(subnet);
  notDefault.U32(RTA_OIF, 7).Attribute(RTA_GATEWAY, gateway.data(), 4);
  EXPECT_TRUE(ParseDefaultRouteMessage(notDefault.bytes).empty());
}

TEST(NetlinkParseTest, AttributesThatOverrunTheMessageAreNotRead) {
  ifinfomsg info{};
  info.ifi_index = 3;
  Payload link(info);
  link.Text(IFLA_IFNAME, "eth3");
  std::vector<std::byte> bytes = link.bytes;
  // An attribute whose length claims more than the message holds.
  rtattr bad{};
  bad.rta_len = 200;
  bad.rta_type = IFLA_ADDRESS;
  const auto* p = reinterpret_cast<const std::byte*>(&bad);
  bytes.insert(bytes.end(), p, p + sizeof bad);
  const auto parsed = ParseLinkMessage(bytes);
  ASSERT_TRUE(parsed);
  EXPECT_EQ(parsed->name, "eth3");
  EXPECT_TRUE(parsed->address.empty());
  EXPECT_FALSE(ParseLinkMessage(std::span(bytes).first(sizeof(ifinfomsg) - 1)));
  ifaddrmsg addr{};
  addr.ifa_family = AF_INET;
  Payload noAddress(addr);  // no address attribute at all
  EXPECT_FALSE(ParseAddressMessage(noAddress.bytes));
}

}  // namespace
}  // namespace addrvue::linux_source
