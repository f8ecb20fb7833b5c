// The Linux source's readers of outside bytes, one fuzz target each (ADDRVUE_FUZZ_READER names
// the reader): what a reader finds goes into the facts of one interface and through the records,
// the two-call protocol and the whole report, so a value that does not fit its field, or a record
// written past its end, shows too. A lease must give every address whole or not at all.
#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "platform/linux/dhclient_leases.h"
#include "platform/linux/dhcpcd_lease.h"
#include "platform/linux/linux_ip_helper.h"
#include "platform/linux/netlink_dump.h"
#include "platform/linux/network_manager_lease.h"
#include "platform/linux/networkd_lease.h"
#include "platform/linux/snapshot.h"
#include "report/module1.h"
#include "tests/support/english_date_names.h"
#include "tests/support/recording_window.h"

namespace {

using namespace addrvue;
using linux_source::DhcpLease;
using linux_source::SystemFacts;

// Ethernet interface 2 holding the lease's address (or 10.0.0.2)/24 with a finite lifetime, a
// default route through 10.0.0.1, and `lease` as its only lease; the clock in the middle of 2023.
SystemFacts OneInterfaceFacts(const std::optional<DhcpLease>& lease) {
  SystemFacts facts;
  facts.kernelHostName = "host.example";
  facts.now = 1'690'000'000;
  facts.sinceBootCentiseconds = 360'000;
  facts.kernel.links.push_back(
      {.index = 2, .name = "eth0", .linkType = 1, .address = {2, 0, 0, 0, 0, 1}, .kind = "veth"});
  linux_source::AddressEntry address{.index = 2,
                                     .local = {10, 0, 0, 2},
                                     .prefixLength = 24,
                                     .permanent = false,
                                     .validSeconds = 120,
                                     .updatedCentiseconds = 300'000};
  if (lease && lease->address) {
    inet_pton(AF_INET, lease->address->c_str(), address.local.data());
  }
  facts.kernel.addresses.push_back(address);
  facts.kernel.defaultRoutes.push_back({2, {10, 0, 0, 1}, 0});
  if (lease) {
    facts.leases[2].push_back(*lease);
  }
  return facts;
}

void RunReport(const SystemFacts& facts) {
  static const auto names = std::make_unique<addrvue::testing::EnglishDateNames>();
  const auto ipHelper =
      linux_source::SnapshotIpHelper([&] { return linux_source::AssembleSnapshot(facts); });
  testing::RecordingWindow window;
  Module1::ShowNetworkInfo(window, *ipHelper, *names);
}

void CheckWhole(const std::optional<std::string>& address) {
  if (address && linux_source::CanonicalIpv4(*address) != *address) {
    __builtin_trap();
  }
}

void ReportLease(const std::optional<DhcpLease>& lease) {
  if (!lease) {
    return;
  }
  CheckWhole(lease->address);
  CheckWhole(lease->server);
  std::for_each(lease->winsServers.begin(), lease->winsServers.end(),
                [](const std::string& wins) { CheckWhole(wins); });
  RunReport(OneInterfaceFacts(lease));
}

std::string_view Text(std::span<const std::uint8_t> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

// Each reader is named after its fuzz target, which ADDRVUE_FUZZ_READER names.
namespace readers {

void dhclient_leases(std::span<const std::uint8_t> bytes) {
  for (const auto& [interface, lease] : linux_source::ParseDhclientLeases(Text(bytes))) {
    ReportLease(lease);
  }
}

// With no file time, and with one a minute before the report's clock or far in the future.
void dhcpcd_lease(std::span<const std::uint8_t> bytes) {
  (void)linux_source::ParseDhcpMessage(bytes, std::nullopt);
  (void)linux_source::ParseDhcpMessage(bytes, std::int64_t{1} << 40);
  ReportLease(linux_source::ParseDhcpMessage(bytes, std::int64_t{1'689'999'940}));
}

void networkd_lease(std::span<const std::uint8_t> bytes) {
  ReportLease(linux_source::ParseNetworkdLease(Text(bytes)));
}

void network_manager(std::span<const std::uint8_t> bytes) {
  ReportLease(linux_source::LeaseFromNetworkManagerOptions(
      linux_source::ParseNetworkManagerDeviceFile(Text(bytes))));
}

// A host name without a domain takes the resolver's.
void resolv_conf(std::span<const std::uint8_t> bytes) {
  SystemFacts facts = OneInterfaceFacts(std::nullopt);
  facts.resolver = linux_source::ParseResolvConf(Text(bytes));
  facts.kernelHostName = "host";
  RunReport(facts);
}

void smb_conf(std::span<const std::uint8_t> bytes) {
  SystemFacts facts = OneInterfaceFacts(std::nullopt);
  facts.samba = linux_source::ParseSmbConf(Text(bytes));
  RunReport(facts);
}

// The replies of one read's link, address and route dumps (requests 1, 2 and 3) framed by the
// program's own framing over the same bytes, as the kernel would send them.
void netlink(std::span<const std::uint8_t> bytes) {
  SystemFacts facts = OneInterfaceFacts(std::nullopt);
  facts.kernel = {};
  for (std::uint32_t sequence = 1; sequence <= 3; ++sequence) {
    (void)linux_source::FrameDumpReply(std::as_bytes(bytes), sequence,
                                       [&](std::uint16_t type, std::span<const std::byte> payload) {
                                         linux_source::AddMessage(facts.kernel, type, payload);
                                       });
  }
  RunReport(facts);
}

}  // namespace readers

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  readers::ADDRVUE_FUZZ_READER(std::span(bytes, size));
  return 0;
}
