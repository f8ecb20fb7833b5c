// The Linux source against real DHCP: dnsmasq serves a lease in one namespace, a real client
// takes it in another, and the source must report what the server handed out, as far as the
// client keeps it. The table, tests/linux/lab/dhcp.json, sets each client against the server
// option sets that guard something.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <optional>

#include "tests/linux/namespace_lab.h"

// One row of tests/linux/lab/dhcp.json, which says what each field means. Outside an anonymous
// namespace: the JSON macros define a to_json that nothing here calls, and gtest finds PrintTo
// beside the row.
namespace addrvue::linux_source::testing::dhcp_table {

struct Lease {
  std::vector<std::string> wins;
  std::uint32_t nodeType = 0;
  std::string scope;
  std::int64_t seconds = 0;
};

struct Client {
  std::vector<std::string> needs;
  std::string start;
  bool overBus = false;
};

struct Row {
  std::string name;
  Client client;
  std::string server;
  Lease lease;
  std::vector<std::string> nobodySees;
};

NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE(Lease, wins, nodeType, scope, seconds)
NLOHMANN_DEFINE_TYPE_NON_INTRUSIVE_WITH_DEFAULT(Client, needs, start, overBus)

inline void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

}  // namespace addrvue::linux_source::testing::dhcp_table

namespace addrvue::linux_source::testing {
namespace {

using dhcp_table::Lease;
using dhcp_table::Row;

std::vector<Row> Rows() {
  const auto table = nlohmann::json::parse(std::ifstream(ADDRVUE_LAB_DIR "/dhcp.json"));
  std::vector<Row> rows;
  for (const auto& row : table.at("rows")) {
    rows.push_back({row.at("name"), table.at("clients").at(row.at("client").get<std::string>()),
                    row.at("server"), row.at("lease"), row.value("nobodySees", Row{}.nobodySees)});
  }
  return rows;
}

class DhcpLab : public ::testing::TestWithParam<Row> {
 protected:
  void SetUp() override {
    std::vector<std::string> needs{"namespaces", "dnsmasq"};
    needs.insert(needs.end(), GetParam().client.needs.begin(), GetParam().client.needs.end());
    if (!GetParam().nobodySees.empty()) {
      needs.emplace_back("setpriv");
    }
    if (const auto missing = Missing(needs); !missing.empty()) {
      GTEST_SKIP() << missing;
    }
    tree_.CopyIn(ADDRVUE_LAB_DIR "/dhcp");
    server_.emplace();
    client_.emplace();
    server_->Ip("link add vs0 type veth peer name vc0 netns " + client_->Name());
    server_->Ip("address add 10.50.0.1/24 dev vs0");
    server_->Ip("link set vs0 up");
    client_->Ip("link set vc0 up");
    dnsmasq_.emplace(server_->Inside(tree_,
                                     "exec dnsmasq --keep-in-foreground --port=0 --no-ping "
                                     "--interface=vs0 --bind-interfaces --log-facility=- "
                                     "--dhcp-option=3,10.50.0.1 --dhcp-leasefile=$T/dnsmasq.leases "
                                     "--pid-file=$T/dnsmasq.pid --conf-file=$T/" +
                                         GetParam().server),
                     tree_.Path("/dnsmasq.log"));
    // dnsmasq writes its pid file as it starts to answer.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(tree_.Path("/dnsmasq.pid")); }))
        << Log("/dnsmasq.log");
  }

  [[nodiscard]] std::string Log(const std::string& name) const {
    return Shell("cat " + tree_.Path(name) + " 2>&1 || true");
  }

  // Once the source, reading files under `root`, sees vc0's lease: what it reports of it.
  void ExpectLease(const SystemRoot& root, const ChildProcess& client, std::int64_t started) {
    SystemSnapshot snapshot;
    const iphlp::AdapterInfo* vc0 = nullptr;
    const auto seen = [&] {
      snapshot = client_->Snapshot(root);
      vc0 = FindAdapter(snapshot, "vc0");
      return vc0 != nullptr && !vc0->DhcpServer.IpAddress.empty() &&
             vc0->GatewayList.at(0).IpAddress != "0.0.0.0";
    };
    ASSERT_TRUE(WaitFor([&] { return seen() || !client.Running(); }) && seen())
        << "no lease seen\nclient:\n"
        << Log("/client.log") << "server:\n"
        << Log("/dnsmasq.log");
    const Lease& lease = GetParam().lease;
    EXPECT_THAT(vc0->IpAddressList.at(0).IpAddress, ::testing::StartsWith("10.50.0.1"));
    EXPECT_EQ(std::tie(vc0->DhcpEnabled, vc0->IpAddressList[0].IpMask, vc0->DhcpServer.IpAddress),
              std::make_tuple(1U, "255.255.255.0", "10.50.0.1"));
    std::vector<std::string> wins;
    if (vc0->HaveWins != 0) {
      wins = {vc0->PrimaryWinsServer.IpAddress, vc0->SecondaryWinsServer.IpAddress};
    }
    EXPECT_EQ(std::tie(wins, snapshot.params.NodeType, snapshot.params.ScopeId),
              std::tie(lease.wins, lease.nodeType, lease.scope));
    EXPECT_GE(vc0->LeaseObtained, started - 2);
    EXPECT_LE(vc0->LeaseObtained, std::time(nullptr) + 1);
    if (lease.seconds == -1) {
      EXPECT_EQ(vc0->LeaseExpires, 2147483647);
    } else {
      EXPECT_NEAR(vc0->LeaseExpires - vc0->LeaseObtained, lease.seconds, 2);
    }
  }

  FixtureTree tree_;
  std::optional<NetNamespace> server_;
  std::optional<NetNamespace> client_;
  std::optional<ChildProcess> dnsmasq_;
};

TEST_P(DhcpLab, TheSourceReportsTheLeaseTheClientTook) {
  const Row& row = GetParam();
  const std::int64_t started = std::time(nullptr);
  const ChildProcess client(client_->Inside(tree_, row.client.start), tree_.Path("/client.log"));
  if (row.client.overBus) {
    const FixtureTree noFiles;
    setenv("DBUS_SYSTEM_BUS_ADDRESS",
           ("unix:path=" + tree_.Path("/run/dbus/system_bus_socket")).c_str(), 1);
    ExpectLease(noFiles.Root(), client, started);
    unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  }
  ExpectLease(tree_.Root(), client, started);
  if (!row.nobodySees.empty()) {
    EXPECT_THAT(ReportItems(*client_, tree_, "", true), ::testing::IsSupersetOf(row.nobodySees));
  }
}

INSTANTIATE_TEST_SUITE_P(Clients, DhcpLab, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace addrvue::linux_source::testing
