#include <linux/if.h>
#include <linux/if_arp.h>

#include <algorithm>
#include <optional>

#include "platform/ip_helper_layout.h"
#include "platform/linux/adapter_type.h"
#include "platform/linux/snapshot.h"

namespace addrvue::linux_source {
namespace {

constexpr const char* kNone = "0.0.0.0";
constexpr const char* kHostMask = "255.255.255.255";

iphlp::AddrString Node(const std::string& address, const std::string& mask) {
  return iphlp::AddrString{address, mask, 0};
}

bool FiniteLifetime(const AddressEntry& address) {
  return !address.permanent && address.validSeconds != AddressEntry::kInfinite;
}

// The first lease that still runs and whose address the interface holds.
const DhcpLease* CurrentLease(const std::vector<DhcpLease>* leases,
                              const std::vector<const AddressEntry*>& addresses, std::int64_t now) {
  if (leases == nullptr) {
    return nullptr;
  }
  for (const DhcpLease& lease : *leases) {
    if (lease.expires && *lease.expires <= now) {
      continue;
    }
    const bool held = !lease.address ||
                      std::any_of(addresses.begin(), addresses.end(), [&](const AddressEntry* a) {
                        return Ipv4Text(a->local.data()) == *lease.address;
                      });
    if (held) {
      return &lease;
    }
  }
  return nullptr;
}

struct AdapterBuilder {
  const SystemFacts& facts;
  const LinkEntry& link;
  std::vector<const AddressEntry*> addresses;

  [[nodiscard]] std::string Description() const {
    const auto it = facts.devices.find(link.index);
    if (it != facts.devices.end() && !it->second.description.empty()) {
      return it->second.description;
    }
    return link.kind.empty() ? link.name : link.kind;
  }

  [[nodiscard]] bool Wireless() const {
    const auto it = facts.devices.find(link.index);
    return it != facts.devices.end() && it->second.wireless;
  }

  // The address whose kernel lifetime dates the lease: the leased one, else the first with a
  // finite lifetime.
  [[nodiscard]] const AddressEntry* DynamicAddress(const DhcpLease* lease) const {
    const AddressEntry* found = nullptr;
    for (const AddressEntry* a : addresses) {
      if (!FiniteLifetime(*a)) {
        continue;
      }
      if (lease != nullptr && lease->address && Ipv4Text(a->local.data()) == *lease->address) {
        return a;
      }
      if (found == nullptr) {
        found = a;
      }
    }
    return found;
  }

  [[nodiscard]] iphlp::AdapterInfo Build(const DhcpLease* lease) const {
    iphlp::AdapterInfo adapter;
    adapter.ComboIndex = static_cast<std::uint32_t>(link.index);
    adapter.Index = static_cast<std::uint32_t>(link.index);
    adapter.AdapterName = ToLatin1(link.name);
    adapter.Description = ToLatin1(Description());
    adapter.Address = link.address;
    adapter.Type = AdapterTypeOf(link.linkType, Wireless());
    for (const AddressEntry* a : addresses) {
      adapter.IpAddressList.push_back(
          Node(Ipv4Text(a->local.data()), MaskOfPrefix(a->prefixLength)));
    }
    if (adapter.IpAddressList.empty()) {
      adapter.IpAddressList.push_back(Node(kNone, kNone));
    }
    for (const RouteEntry& route : facts.kernel.defaultRoutes) {
      if (route.outIndex == link.index) {
        adapter.GatewayList.push_back(Node(Ipv4Text(route.gateway.data()), kHostMask));
      }
    }
    if (adapter.GatewayList.empty()) {
      adapter.GatewayList.push_back(Node(kNone, kNone));
    }

    const AddressEntry* dynamic = DynamicAddress(lease);
    adapter.DhcpEnabled = lease != nullptr || dynamic != nullptr ? 1 : 0;
    std::vector<std::string> wins = facts.samba.winsServers;
    if (lease != nullptr) {
      if (lease->server) {
        adapter.DhcpServer = Node(*lease->server, kHostMask);
      }
      if (!lease->winsServers.empty()) {
        wins = lease->winsServers;
      }
    }
    if (!wins.empty()) {
      adapter.HaveWins = 1;
      adapter.PrimaryWinsServer = Node(wins[0], kHostMask);
      if (wins.size() > 1) {
        adapter.SecondaryWinsServer = Node(wins[1], kHostMask);
      }
    }

    std::optional<std::int64_t> obtained = lease != nullptr ? lease->obtained : std::nullopt;
    std::optional<std::int64_t> expires = lease != nullptr ? lease->expires : std::nullopt;
    if (dynamic != nullptr) {
      if (!obtained) {
        const auto age = static_cast<std::int64_t>(
            (facts.sinceBootCentiseconds -
             std::min<std::uint64_t>(facts.sinceBootCentiseconds, dynamic->updatedCentiseconds)) /
            100U);
        obtained = facts.now - age;
      }
      if (!expires) {
        expires = facts.now + dynamic->validSeconds;
      }
    }
    if (obtained && !expires && lease != nullptr && lease->leaseSeconds) {
      expires = *obtained + *lease->leaseSeconds;
    }
    adapter.LeaseObtained = obtained ? ClampTime(*obtained) : 0;
    adapter.LeaseExpires = expires ? ClampTime(*expires) : 0;
    return adapter;
  }
};

}  // namespace

SystemSnapshot AssembleSnapshot(const SystemFacts& facts) {
  SystemSnapshot snapshot;
  const HostIdentity identity = SplitHostName(facts.kernelHostName, facts.resolver);
  iphlp::NetworkParams& params = snapshot.params;
  params.HostName = ToLatin1(identity.hostName);
  params.DomainName = ToLatin1(identity.domainName);
  for (const std::string& server : facts.resolver.nameservers) {
    params.DnsServers.push_back(Node(server, ""));
  }
  params.EnableRouting = facts.ipForwarding ? 1 : 0;
  params.EnableProxy = facts.samba.configured && facts.samba.winsProxy ? 1 : 0;
  params.EnableDns = facts.samba.configured && facts.samba.dnsProxy ? 1 : 0;

  // Addresses by interface, primaries first, each group in the kernel's order.
  std::map<int, std::vector<const AddressEntry*>> addresses;
  for (const AddressEntry& a : facts.kernel.addresses) {
    addresses[a.index].push_back(&a);
  }
  for (auto& [index, list] : addresses) {
    std::stable_partition(list.begin(), list.end(),
                          [](const AddressEntry* a) { return !a->secondary; });
  }

  std::optional<std::uint32_t> nodeType;
  std::optional<std::string> scope;
  bool anyWins = !facts.samba.winsServers.empty();
  for (const LinkEntry& link : facts.kernel.links) {
    if (link.linkType == ARPHRD_LOOPBACK || (link.flags & IFF_LOOPBACK) != 0) {
      continue;
    }
    AdapterBuilder builder{facts, link, {}};
    if (const auto it = addresses.find(link.index); it != addresses.end()) {
      builder.addresses = it->second;
    }
    const auto leases = facts.leases.find(link.index);
    const DhcpLease* lease = CurrentLease(leases == facts.leases.end() ? nullptr : &leases->second,
                                          builder.addresses, facts.now);
    if (lease != nullptr) {
      if (!nodeType && lease->nodeType) {
        nodeType = lease->nodeType;
      }
      if (!scope && lease->scope) {
        scope = ToLatin1(*lease->scope);
      }
    }
    snapshot.adapters.push_back(builder.Build(lease));
    anyWins = anyWins || snapshot.adapters.back().HaveWins != 0;
  }
  // Without a server's word the node type follows from whether a WINS server is known.
  namespace node = iphlp::layout::node_type;
  params.NodeType = nodeType.value_or(anyWins ? node::kHybrid : node::kBroadcast);
  params.ScopeId = scope.value_or(ToLatin1(facts.samba.netbiosScope));
  return snapshot;
}

}  // namespace addrvue::linux_source
