#include <linux/if.h>
#include <linux/if_arp.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string_view>
#include <utility>

#include "platform/ip_helper_layout.h"
#include "platform/linux/adapter_type.h"
#include "platform/linux/snapshot.h"

namespace addrvue::linux_source {
namespace {

constexpr const char* kNone = "0.0.0.0";
constexpr const char* kHostMask = "255.255.255.255";

// One interface's addresses, a range of the sorted list below.
using Addresses = std::span<const AddressEntry* const>;

iphlp::AddrString Node(std::string address, std::string mask) {
  return iphlp::AddrString{std::move(address), std::move(mask), 0};
}

// A list as the records hold it: an empty one is one node of zeros.
void NoneIfEmpty(std::vector<iphlp::AddrString>& nodes) {
  if (nodes.empty()) {
    nodes.push_back(Node(kNone, kNone));
  }
}

bool FiniteLifetime(const AddressEntry& address) {
  return !address.permanent && address.validSeconds != AddressEntry::kInfinite;
}

bool Holds(Addresses addresses, const std::string& address) {
  const auto bytes = Ipv4Bytes(address);
  return bytes && std::any_of(addresses.begin(), addresses.end(),
                              [&](const AddressEntry* a) { return a->local == *bytes; });
}

// The first lease that still runs and whose address the interface holds.
const DhcpLease* CurrentLease(const SystemFacts& facts, int index, Addresses addresses) {
  const auto leases = facts.leases.find(index);
  if (leases == facts.leases.end()) {
    return nullptr;
  }
  for (const DhcpLease& lease : leases->second) {
    const bool running = !lease.expires || *lease.expires > facts.now;
    if (running && (!lease.address || Holds(addresses, *lease.address))) {
      return &lease;
    }
  }
  return nullptr;
}

// Every address, by interface index; each interface's primaries first, each group in the
// kernel's order.
std::vector<const AddressEntry*> AddressesByInterface(const KernelInterfaces& kernel) {
  std::vector<const AddressEntry*> addresses;
  addresses.reserve(kernel.addresses.size());
  for (const AddressEntry& a : kernel.addresses) {
    addresses.push_back(&a);
  }
  std::stable_sort(addresses.begin(), addresses.end(),
                   [](const AddressEntry* a, const AddressEntry* b) {
                     return std::pair(a->index, a->secondary) < std::pair(b->index, b->secondary);
                   });
  return addresses;
}

Addresses AddressesOf(const std::vector<const AddressEntry*>& byInterface, int index) {
  const auto first = std::lower_bound(byInterface.begin(), byInterface.end(), index,
                                      [](const AddressEntry* a, int i) { return a->index < i; });
  const auto last = std::upper_bound(first, byInterface.end(), index,
                                     [](int i, const AddressEntry* a) { return i < a->index; });
  return {first, last};
}

class AdapterBuilder {
 public:
  AdapterBuilder(const SystemFacts& facts, const LinkEntry& link, Addresses addresses)
      : facts_(facts), link_(link), addresses_(addresses) {}

  // Fills a record in place (moving one costs as much as filling it).
  void Build(iphlp::AdapterInfo& adapter, const DhcpLease* lease) const {
    adapter.ComboIndex = static_cast<std::uint32_t>(link_.index);
    adapter.Index = static_cast<std::uint32_t>(link_.index);
    adapter.AdapterName = ToRecordText(link_.name);
    adapter.Description = ToRecordText(Description());
    adapter.Address = link_.address;
    adapter.Type = AdapterTypeOf(link_.linkType, Device().wireless);
    adapter.IpAddressList.reserve(addresses_.size());
    for (const AddressEntry* a : addresses_) {
      adapter.IpAddressList.push_back(Node(Ipv4Text(a->local), MaskOfPrefix(a->prefixLength)));
    }
    NoneIfEmpty(adapter.IpAddressList);
    for (const RouteEntry& route : facts_.kernel.defaultRoutes) {
      if (route.outIndex == link_.index) {
        adapter.GatewayList.push_back(Node(Ipv4Text(route.gateway), kHostMask));
      }
    }
    NoneIfEmpty(adapter.GatewayList);
    const AddressEntry* dynamic = DynamicAddress(lease);
    adapter.DhcpEnabled = lease != nullptr || dynamic != nullptr ? 1 : 0;
    SetServers(adapter, lease);
    SetLeaseTimes(adapter, lease, dynamic);
  }

 private:
  [[nodiscard]] const DeviceFacts& Device() const {
    static const DeviceFacts kUnknown;
    const auto it = facts_.devices.find(link_.index);
    return it == facts_.devices.end() ? kUnknown : it->second;
  }

  [[nodiscard]] std::string_view Description() const {
    const std::string& description = Device().description;
    if (description.empty()) {
      return link_.kind.empty() ? link_.name : link_.kind;
    }
    return description;
  }

  // The address whose kernel lifetime dates the lease: the leased one, else the first with a
  // finite lifetime.
  [[nodiscard]] const AddressEntry* DynamicAddress(const DhcpLease* lease) const {
    const AddressEntry* found = nullptr;
    for (const AddressEntry* a : addresses_) {
      if (!FiniteLifetime(*a)) {
        continue;
      }
      if (lease != nullptr && lease->address && a->local == Ipv4Bytes(*lease->address)) {
        return a;
      }
      if (found == nullptr) {
        found = a;
      }
    }
    return found;
  }

  // The DHCP server, and the WINS servers of the lease, else Samba's.
  void SetServers(iphlp::AdapterInfo& adapter, const DhcpLease* lease) const {
    const std::vector<std::string>* wins = &facts_.samba.winsServers;
    if (lease != nullptr) {
      if (lease->server) {
        adapter.DhcpServer = Node(*lease->server, kHostMask);
      }
      if (!lease->winsServers.empty()) {
        wins = &lease->winsServers;
      }
    }
    if (!wins->empty()) {
      adapter.HaveWins = 1;
      adapter.PrimaryWinsServer = Node(wins->front(), kHostMask);
      if (wins->size() > 1) {
        adapter.SecondaryWinsServer = Node((*wins)[1], kHostMask);
      }
    }
  }

  // The lease's own dates; what it leaves open, the kernel's lifetime of its address tells;
  // failing that, its lease time from when it was obtained.
  void SetLeaseTimes(iphlp::AdapterInfo& adapter, const DhcpLease* lease,
                     const AddressEntry* dynamic) const {
    std::optional<std::int64_t> obtained = lease != nullptr ? lease->obtained : std::nullopt;
    std::optional<std::int64_t> expires = lease != nullptr ? lease->expires : std::nullopt;
    if (dynamic != nullptr) {
      const std::uint64_t since = facts_.sinceBootCentiseconds;
      const auto age = static_cast<std::int64_t>(
          (since - std::min<std::uint64_t>(since, dynamic->updatedCentiseconds)) / 100U);
      obtained = obtained.value_or(facts_.now - age);
      expires = expires.value_or(facts_.now + dynamic->validSeconds);
    }
    if (obtained && !expires && lease != nullptr && lease->leaseSeconds) {
      expires = *obtained + *lease->leaseSeconds;
    }
    // As read: the encoder fits them into the time_t of the layout it writes.
    adapter.LeaseObtained = obtained.value_or(0);
    adapter.LeaseExpires = expires.value_or(0);
  }

  const SystemFacts& facts_;
  const LinkEntry& link_;
  Addresses addresses_;
};

// What the adapters' leases say of NetBIOS: the node type and scope of the first lease that names
// one, and whether any adapter or Samba knows a WINS server.
struct NetbiosWords {
  std::optional<std::uint32_t> nodeType;
  std::optional<std::string> scope;
  bool anyWins = false;
};

iphlp::NetworkParams HostParams(const SystemFacts& facts, const NetbiosWords& netbios) {
  iphlp::NetworkParams params;
  const HostIdentity identity = SplitHostName(facts.kernelHostName, facts.resolver);
  params.HostName = ToRecordText(identity.hostName);
  params.DomainName = ToRecordText(identity.domainName);
  for (const std::string& server : facts.resolver.nameservers) {
    params.DnsServers.push_back(Node(server, ""));
  }
  params.EnableRouting = facts.ipForwarding ? 1 : 0;
  params.EnableProxy = facts.samba.configured && facts.samba.winsProxy ? 1 : 0;
  params.EnableDns = facts.samba.configured && facts.samba.dnsProxy ? 1 : 0;
  // Without a server's word the node type follows from whether a WINS server is known.
  namespace node = iphlp::layout::node_type;
  params.NodeType = netbios.nodeType.value_or(netbios.anyWins ? node::kHybrid : node::kBroadcast);
  params.ScopeId = ToRecordText(netbios.scope.value_or(facts.samba.netbiosScope));
  return params;
}

bool Loopback(const LinkEntry& link) {
  return link.linkType == ARPHRD_LOOPBACK || (link.flags & IFF_LOOPBACK) != 0;
}

}  // namespace

SystemSnapshot AssembleSnapshot(const SystemFacts& facts) {
  SystemSnapshot snapshot;
  snapshot.adaptersFailure = facts.kernelRead ? 0 : kErrorInvalidData;
  const std::vector<const AddressEntry*> addresses = AddressesByInterface(facts.kernel);
  NetbiosWords netbios;
  netbios.anyWins = !facts.samba.winsServers.empty();
  snapshot.adapters.reserve(facts.kernel.links.size());
  for (const LinkEntry& link : facts.kernel.links) {
    if (Loopback(link)) {
      continue;
    }
    const Addresses linkAddresses = AddressesOf(addresses, link.index);
    const DhcpLease* lease = CurrentLease(facts, link.index, linkAddresses);
    if (lease != nullptr) {
      netbios.nodeType = netbios.nodeType ? netbios.nodeType : lease->nodeType;
      netbios.scope = netbios.scope ? netbios.scope : lease->scope;
    }
    AdapterBuilder(facts, link, linkAddresses).Build(snapshot.adapters.emplace_back(), lease);
    netbios.anyWins = netbios.anyWins || snapshot.adapters.back().HaveWins != 0;
  }
  snapshot.params = HostParams(facts, netbios);
  return snapshot;
}

}  // namespace addrvue::linux_source
