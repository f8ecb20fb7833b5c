#include <ctime>

#include "platform/linux/dhclient_leases.h"
#include "platform/linux/dhcpcd_lease.h"
#include "platform/linux/netlink_dump.h"
#include "platform/linux/network_manager_lease.h"
#include "platform/linux/networkd_lease.h"
#include "platform/linux/snapshot.h"

namespace addrvue::linux_source {

SystemFacts GatherFacts(const SystemRoot& root) {
  SystemFacts facts;
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  facts.now = now.tv_sec;
  timespec sinceBoot{};
  clock_gettime(CLOCK_MONOTONIC, &sinceBoot);
  facts.sinceBootCentiseconds = static_cast<std::uint64_t>(sinceBoot.tv_sec) * 100U +
                                static_cast<std::uint64_t>(sinceBoot.tv_nsec) / 10'000'000U;

  facts.kernelHostName = KernelHostName();
  facts.resolver = ReadResolverConfig(root);
  facts.samba = ReadSambaConfig(root);
  facts.ipForwarding =
      Trim(ReadFileText(root.Path("/proc/sys/net/ipv4/ip_forward"), 16).value_or("0")) == "1";
  auto kernel = ReadKernelInterfaces();
  facts.kernelRead = kernel.has_value();
  facts.kernel = std::move(kernel).value_or(KernelInterfaces{});

  // Only a device with a parent device has files to read; a virtual link is named after its
  // driver kind, which the assembly takes from the link itself when no device is known.
  DeviceReader devices(root);
  std::vector<std::string> names;
  names.reserve(facts.kernel.links.size());
  for (const LinkEntry& link : facts.kernel.links) {
    if (!link.parentDevice.empty()) {
      facts.devices[link.index] = devices.Read(link);
    }
    names.push_back(link.name);
  }
  // Links by name, looked up only for the stores that name their interfaces, and made only once
  // one of them holds a lease.
  std::map<std::string, int> indexOfName;

  // The stores, most trusted first: NetworkManager and networkd keep what the running client
  // holds; dhcpcd's and dhclient's files may outlive their client.
  const auto addByIndex = [&](std::map<int, DhcpLease>&& leases) {
    for (auto& [index, lease] : leases) {
      facts.leases[index].push_back(std::move(lease));
    }
  };
  const auto addByName = [&](LeasesByInterface&& leases) {
    if (indexOfName.empty() && !leases.empty()) {
      for (const LinkEntry& link : facts.kernel.links) {
        indexOfName.insert_or_assign(link.name, link.index);
      }
    }
    for (auto& [name, lease] : leases) {
      if (const auto it = indexOfName.find(name); it != indexOfName.end()) {
        facts.leases[it->second].push_back(std::move(lease));
      }
    }
  };
  addByName(ReadNetworkManagerBus());
  addByIndex(ReadNetworkManagerDeviceFiles(root));
  addByIndex(ReadNetworkdLeases(root));
  addByName(ReadDhcpcdLeases(root, names));
  addByName(ReadDhclientLeases(root));
  return facts;
}

}  // namespace addrvue::linux_source
