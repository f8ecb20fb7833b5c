// Each client's lease store as no real client here writes it: a lease of no time (dnsmasq hands
// out two minutes at least) and a store only root may read. The samples in
// tests/linux/lab/stores have @SECONDS@, @EXPIRES@ (Unix time), @EXPIRES_UTC@ (dhclient's form)
// and @INDEX@ (the interface's index) filled in.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>

#include "tests/linux/namespace_lab.h"

namespace addrvue::linux_source::testing {
namespace {

struct Store {
  const char* name;
  const char* sample;  // in tests/linux/lab/stores
  const char* path;    // where its client keeps it
  const char* serverAfterNoTime;
};

void PrintTo(const Store& store, std::ostream* out) {
  *out << store.name;
}

// networkd's lease holds no time of its own: a lease of no time stands, undated.
constexpr std::array kStores{
    Store{"Dhclient", "dhclient.leases", "/var/lib/dhcp/dhclient.vc0.leases", ""},
    Store{"Dhcpcd", "dhcpcd-@SECONDS@.lease", "/var/lib/dhcpcd/vc0.lease", ""},
    Store{"Networkd", "networkd.lease", "/run/systemd/netif/leases/@INDEX@", "10.60.0.1"},
    Store{"NetworkManager", "NetworkManager.device", "/run/NetworkManager/devices/@INDEX@", ""},
};

// vc0 holds 10.60.0.5/24, a static address, and routes through 10.60.0.1 (stores/vc0.batch).
class LeaseStoreLab : public ::testing::TestWithParam<Store> {
 protected:
  void SetUp() override {
    SKIP_WITHOUT("namespaces");
    ns_.emplace();
    ns_->Ip("-batch " ADDRVUE_LAB_DIR "/stores/vc0.batch");
    const SystemSnapshot snapshot = ns_->Snapshot();
    const auto* vc0 = FindAdapter(snapshot, "vc0");
    ASSERT_TRUE(vc0 != nullptr) << "vc0 is not in the namespace";
    index_ = vc0->Index;
  }

  // The store alone in `tree`, holding a lease of `seconds` that begins now; its path.
  [[nodiscard]] std::string Write(const FixtureTree& tree, std::uint32_t seconds) const {
    const std::time_t expires = std::time(nullptr) + seconds;
    std::tm utc{};
    std::array<char, 32> date{};
    std::strftime(date.data(), date.size(), "%w %Y/%m/%d %H:%M:%S", gmtime_r(&expires, &utc));
    const auto fill = [&](std::string text) {
      for (const auto& [key, value] : {std::pair{"@SECONDS@", std::to_string(seconds)},
                                       {"@EXPIRES@", std::to_string(expires)},
                                       {"@EXPIRES_UTC@", std::string(date.data())},
                                       {"@INDEX@", std::to_string(index_)}}) {
        text = std::regex_replace(text, std::regex(key), value);
      }
      return text;
    };
    std::ifstream sample(ADDRVUE_LAB_DIR "/stores/" + fill(GetParam().sample), std::ios::binary);
    std::string path = fill(GetParam().path);
    tree.Write(path, fill(std::string(std::istreambuf_iterator<char>(sample), {})));
    return path;
  }

  std::optional<NetNamespace> ns_;
  std::uint32_t index_ = 0;
};

// A lease of no time ended as it began: the static address stays, undated, with no server.
TEST_P(LeaseStoreLab, ALeaseOfNoTimeHasEnded) {
  FixtureTree tree;
  (void)Write(tree, 0);
  const auto snapshot = ns_->Snapshot(tree.Root());
  const auto* vc0 = FindAdapter(snapshot, "vc0");
  ASSERT_TRUE(vc0 != nullptr);
  EXPECT_EQ(vc0->IpAddressList.at(0).IpAddress, "10.60.0.5");
  EXPECT_EQ(vc0->DhcpServer.IpAddress, GetParam().serverAfterNoTime);
  EXPECT_EQ(vc0->DhcpEnabled, vc0->DhcpServer.IpAddress.empty() ? 0U : 1U);
  EXPECT_EQ(vc0->HaveWins, 0U);
  EXPECT_EQ(vc0->LeaseObtained, 0);
  EXPECT_EQ(vc0->LeaseExpires, 0);
}

// With the store's directory root's alone, root's report shows its lease and a normal user's
// runs to its end with what the kernel tells.
TEST_P(LeaseStoreLab, AStoreTheUserMayNotReadLeavesItsFieldsEmpty) {
  SKIP_WITHOUT("setpriv");
  FixtureTree tree;
  const auto path = Write(tree, 120);
  std::filesystem::permissions(std::filesystem::path(tree.Path(path)).parent_path(),
                               std::filesystem::perms::owner_all);
  EXPECT_THAT(ReportItems(*ns_, tree), ::testing::Contains("box:DHCP Server: 10.60.0.1"));
  EXPECT_THAT(ReportItems(*ns_, tree, "", true),
              ::testing::IsSupersetOf({"text:DHCP отключен ", "box:DHCP Server: ",
                                       "box:Lease Expires :  Thursday, Jan 1 00:00:00 1970"}));
}

INSTANTIATE_TEST_SUITE_P(Stores, LeaseStoreLab, ::testing::ValuesIn(kStores),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace addrvue::linux_source::testing
