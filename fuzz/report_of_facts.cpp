#include "fuzz/report_of_facts.h"

#include "platform/linux/date_names_linux.h"
#include "platform/linux/linux_ip_helper.h"
#include "report/module1.h"
#include "tests/support/recording_window.h"

namespace addrvue::fuzzing {

using linux_source::SystemFacts;

SystemFacts OneInterfaceFacts(const std::optional<linux_source::DhcpLease>& lease) {
  SystemFacts facts;
  facts.kernelHostName = "host.example";
  facts.now = 1'690'000'000;
  facts.sinceBootCentiseconds = 360'000;

  linux_source::LinkEntry link;
  link.index = 2;
  link.name = "eth0";
  link.linkType = 1;  // ARPHRD_ETHER
  link.address = {2, 0, 0, 0, 0, 1};
  link.kind = "veth";
  facts.kernel.links.push_back(link);

  linux_source::AddressEntry address;
  address.index = 2;
  address.local = {10, 0, 0, 2};
  if (lease && lease->address) {
    if (const auto canonical = linux_source::CanonicalIpv4(*lease->address)) {
      unsigned a = 0;
      unsigned b = 0;
      unsigned c = 0;
      unsigned d = 0;
      if (std::sscanf(canonical->c_str(), "%u.%u.%u.%u", &a, &b, &c, &d) == 4) {
        address.local = {static_cast<std::uint8_t>(a), static_cast<std::uint8_t>(b),
                         static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(d)};
      }
    }
  }
  address.prefixLength = 24;
  address.permanent = false;
  address.validSeconds = 120;
  address.updatedCentiseconds = 300'000;
  facts.kernel.addresses.push_back(address);
  facts.kernel.defaultRoutes.push_back({2, {10, 0, 0, 1}, 0});
  if (lease) {
    facts.leases[2].push_back(*lease);
  }
  return facts;
}

void RunReport(const SystemFacts& facts) {
  static const auto names = DateNamesFor("C");
  const auto ipHelper =
      linux_source::SnapshotIpHelper([&] { return linux_source::AssembleSnapshot(facts); });
  testing::RecordingWindow window;
  Module1::ShowNetworkInfo(window, *ipHelper, *names);
}

}  // namespace addrvue::fuzzing
