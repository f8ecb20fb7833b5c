// A plain snapshot of the machine's network configuration, as the two queries report it, and
// how it is gathered: small readers collect the facts, a pure function puts them together.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/ip_helper_records.h"
#include "platform/linux/device_description.h"
#include "platform/linux/dhcp_lease.h"
#include "platform/linux/netlink_messages.h"
#include "platform/linux/resolver_config.h"
#include "platform/linux/samba_config.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

// What GetAdaptersInfo answers when the kernel's tables could not be read whole: the
// platform's "invalid adapter information was retrieved" (ERROR_INVALID_DATA).
inline constexpr std::uint32_t kErrorInvalidData = 13;

struct SystemSnapshot {
  iphlp::NetworkParams params;
  std::vector<iphlp::AdapterInfo> adapters;
  std::uint32_t adaptersFailure = 0;  // when not 0, what GetAdaptersInfo answers instead
};

// Everything the readers found, before it is put into the records.
struct SystemFacts {
  std::string kernelHostName;
  ResolverConfig resolver;
  SambaConfig samba;
  bool ipForwarding = false;
  KernelInterfaces kernel;
  bool kernelRead = true;              // false when the kernel's tables could not be read whole
  std::map<int, DeviceFacts> devices;  // by interface index
  // Each interface's leases, by index, in the order the stores are trusted.
  std::map<int, std::vector<DhcpLease>> leases;
  std::int64_t now = 0;                     // Unix seconds
  std::uint64_t sinceBootCentiseconds = 0;  // the kernel's address time stamps count from here
};

// The records of the facts; a pure function.
SystemSnapshot AssembleSnapshot(const SystemFacts& facts);

// Reads every fact from the live system (netlink of the calling thread's network namespace, the
// host name of its UTS namespace) and the files under `root`.
SystemFacts GatherFacts(const SystemRoot& root);

inline SystemSnapshot TakeSnapshot(const SystemRoot& root) {
  return AssembleSnapshot(GatherFacts(root));
}

}  // namespace addrvue::linux_source
