// The Linux source against real DHCP: dnsmasq serves a lease in one namespace, a real client
// takes it in another, and the source must report what the server handed out, as far as the
// client keeps it. The table, tests/linux/lab/dhcp.json, sets each client against the server
// option sets that guard something, and says what each field means.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include "tests/linux/namespace_lab.h"

namespace addrvue::linux_source::testing {
namespace {

using nlohmann::json;

// A row of the table, its client's entry in place of the client's name.
struct Row {
  std::string name;
  json fields;
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << row.name;
}

std::vector<Row> Rows() {
  const auto table = json::parse(std::ifstream(ADDRVUE_LAB_DIR "/dhcp.json"));
  std::vector<Row> rows;
  for (json row : table.at("rows")) {
    row["client"] = table.at("clients").at(row.at("client").get<std::string>());
    rows.push_back({row.at("name"), row});
  }
  return rows;
}

// The system bus the source reads while the object lives.
struct SystemBus {
  explicit SystemBus(const std::string& address) {
    setenv("DBUS_SYSTEM_BUS_ADDRESS", address.c_str(), 1);
  }
  SystemBus(const SystemBus&) = delete;
  SystemBus& operator=(const SystemBus&) = delete;
  SystemBus(SystemBus&&) = delete;
  SystemBus& operator=(SystemBus&&) = delete;
  ~SystemBus() { unsetenv("DBUS_SYSTEM_BUS_ADDRESS"); }
};

class DhcpLab : public ::testing::TestWithParam<Row> {
 protected:
  void SetUp() override {
    auto needs = Field("client").at("needs").get<std::vector<std::string>>();
    needs.insert(needs.begin(), {"netns", "overlay", "dnsmasq"});
    SKIP_WITHOUT(needs);
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
                                         Field("server").get<std::string>()),
                     tree_.Path("/dnsmasq.log"));
    // dnsmasq writes its pid file as it starts to answer.
    ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(tree_.Path("/dnsmasq.pid")); }))
        << Log("/dnsmasq.log");
  }

  // A field of the row, null when it has none.
  [[nodiscard]] static json Field(const std::string& name) {
    return GetParam().fields.value(name, json());
  }

  [[nodiscard]] std::string Log(const std::string& name) const {
    return Shell("cat " + tree_.Path(name) + " 2>&1 || true");
  }

  // The snapshot in which the source, reading files under `root`, sees vc0's lease; a failure
  // with the client's and the server's logs when it never does.
  ::testing::AssertionResult SeeLease(const SystemRoot& root, const ChildProcess& client,
                                      SystemSnapshot& snapshot) const {
    const auto seen = [&] {
      snapshot = client_->Snapshot(root);
      const iphlp::AdapterInfo* vc0 = FindAdapter(snapshot, "vc0");
      return vc0 != nullptr && !vc0->DhcpServer.IpAddress.empty() &&
             vc0->GatewayList.at(0).IpAddress != "0.0.0.0";
    };
    if (WaitFor([&] { return seen() || !client.Running(); }) && seen()) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "no lease seen\nclient:\n"
                                         << Log("/client.log") << "server:\n"
                                         << Log("/dnsmasq.log");
  }

  // What the source reports of vc0's lease, in a snapshot that shows it.
  void ExpectLease(const SystemSnapshot& snapshot, std::int64_t started) {
    const iphlp::AdapterInfo* vc0 = FindAdapter(snapshot, "vc0");
    index_ = vc0->Index;
    EXPECT_THAT(vc0->IpAddressList.at(0).IpAddress, ::testing::StartsWith("10.50.0.1"));
    EXPECT_EQ(std::tie(vc0->DhcpEnabled, vc0->IpAddressList[0].IpMask, vc0->DhcpServer.IpAddress),
              std::make_tuple(1U, "255.255.255.0", "10.50.0.1"));
    json wins = json::array();
    if (vc0->HaveWins != 0) {
      wins = {vc0->PrimaryWinsServer.IpAddress, vc0->SecondaryWinsServer.IpAddress};
    }
    EXPECT_EQ(json({{"wins", wins},
                    {"nodeType", snapshot.params.NodeType},
                    {"scope", snapshot.params.ScopeId}}),
              Field("lease"));
    EXPECT_GE(vc0->LeaseObtained, started - 2);
    EXPECT_LE(vc0->LeaseObtained, std::time(nullptr) + 1);
    if (const std::int64_t seconds = Field("seconds"); seconds == -1) {
      // A lease without end: past anything a 32-bit time_t holds, which the encoder writes then.
      EXPECT_GE(vc0->LeaseExpires, 2147483647);
    } else {
      EXPECT_NEAR(vc0->LeaseExpires - vc0->LeaseObtained, seconds, 2);
    }
    lease_ = *vc0;
  }

  // The program, run there: --print writes the items of a press in order, as the press's box
  // transcript shows them; --json gives the lease's server and dates and every gateway, a second
  // one added here.
  void ExpectTheProgramReportsTheLease() const {
    if (std::string_view(ADDRVUE_PROGRAM).empty()) {
      return;  // a build without the window (the sanitizers' preset) has no program
    }
    client_->Ip("route add default via 10.50.0.2 dev vc0 metric 4000");
    // Lease times the source derives from the kernel's address lifetimes may move by a second
    // between two runs: the pair is taken again until both runs fall within the same second.
    std::vector<std::string> expected;
    std::vector<std::string> printed;
    WaitFor(
        [&] {
          expected =
              ItemsToPrint(RunInside(*client_, tree_, "env LC_ALL=C " ADDRVUE_REPORT_TRANSCRIPT));
          printed =
              PrintedLines(RunInside(*client_, tree_, "env LC_ALL=C " ADDRVUE_PROGRAM " --print"));
          return printed == expected;
        },
        std::chrono::seconds(5));
    EXPECT_EQ(printed, expected);

    const json adapters =
        json::parse(RunInside(*client_, tree_, ADDRVUE_PROGRAM " --json"))["adapters"];
    const auto vc0 =
        std::ranges::find(adapters, "vc0", [](const json& a) { return a["AdapterName"]; });
    ASSERT_NE(vc0, adapters.end());
    EXPECT_EQ((*vc0)["DhcpServer"], "10.50.0.1");
    EXPECT_EQ((*vc0)["GatewayList"], json({"10.50.0.1", "10.50.0.2"}));
    EXPECT_NEAR(Seconds((*vc0)["LeaseObtained"]), lease_.LeaseObtained, 1);
    // The program writes the 32-bit layout, whose time_t holds a lease without end as its largest.
    EXPECT_NEAR(
        Seconds((*vc0)["LeaseExpires"]),
        std::min<std::int64_t>(lease_.LeaseExpires, std::numeric_limits<std::int32_t>::max()), 1);
  }

  // What --print must write for a box transcript: each new Text1 and each box text, but the
  // placeholder box "_", blank texts and a text the line before gave already.
  static std::vector<std::string> ItemsToPrint(const std::string& transcript) {
    std::vector<std::string> lines;
    std::string text1;
    for (const std::string& item : Items(transcript)) {
      const std::string text = item.substr(item.find(':') + 1);
      const bool isNew = item.starts_with("box:") ? item != "box:_" : text != text1;
      if (item.starts_with("text:")) {
        text1 = text;
      }
      if (isNew && text.find_first_not_of(' ') != std::string::npos &&
          (lines.empty() || lines.back() != text)) {
        lines.push_back(text);
      }
    }
    return lines;
  }

  // The lines --print wrote, each read back as the body of a JSON string.
  static std::vector<std::string> PrintedLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    for (std::string line; std::getline(in, line);) {
      lines.push_back(json::parse('"' + line + '"').get<std::string>());
    }
    return lines;
  }

  // An ISO 8601 UTC time as seconds since 1970.
  static std::int64_t Seconds(const json& time) {
    std::tm fields{};
    EXPECT_NE(strptime(time.get<std::string>().c_str(), "%Y-%m-%dT%H:%M:%SZ", &fields), nullptr);
    return timegm(&fields);
  }

  FixtureTree tree_;
  std::optional<NetNamespace> server_;
  std::optional<NetNamespace> client_;
  std::optional<ChildProcess> dnsmasq_;
  std::uint32_t index_ = 0;
  iphlp::AdapterInfo lease_;
};

TEST_P(DhcpLab, TheSourceReportsTheLeaseTheClientTook) {
  const json client = Field("client");
  const std::int64_t started = std::time(nullptr);
  const ChildProcess process(client_->Inside(tree_, client.at("start")), tree_.Path("/client.log"));
  SystemSnapshot snapshot;
  if (client.value("overBus", false)) {
    const SystemBus bus("unix:path=" + tree_.Path("/run/dbus/system_bus_socket"));
    const FixtureTree noFiles;
    ASSERT_TRUE(SeeLease(noFiles.Root(), process, snapshot));
    ExpectLease(snapshot, started);
    // Now NetworkManager holds its name but answers nothing: the source waits for it no longer
    // than its deadline (1 s), then reads the lease from its files.
    process.Stop();
    const auto before = std::chrono::steady_clock::now();
    snapshot = client_->Snapshot(tree_.Root());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(1600));
  } else {
    ASSERT_TRUE(SeeLease(tree_.Root(), process, snapshot));
  }
  ExpectLease(snapshot, started);
  ExpectTheProgramReportsTheLease();
  if (const char* seeds = std::getenv("ADDRVUE_SEED_DIR"); seeds != nullptr) {
    Shell("T=" + tree_.Top() + " S=" + seeds + " N=" + GetParam().name +
          " I=" + std::to_string(index_) + "; " + client.at("seed").get<std::string>());
  }
}

INSTANTIATE_TEST_SUITE_P(Clients, DhcpLab, ::testing::ValuesIn(Rows()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace addrvue::linux_source::testing
