// Putting the facts into the records (tests/linux/samples/snapshots.json holds each case's facts
// and the records they must give), and the two-call protocol of the Linux IP Helper.
#include <cstring>
#include <sstream>

#include "platform/ip_helper_layout.h"
#include "platform/linux/date_names_linux.h"
#include "platform/linux/linux_ip_helper.h"
#include "report/module1.h"
#include "tests/linux/sample_json.h"
#include "tests/support/recording_window.h"

namespace addrvue::linux_source {
namespace {

using nlohmann::json;
namespace L = iphlp::layout;

TEST(SnapshotAssembly, EachCaseGivesItsRecords) {
  const json samples = testing::SampleJson("snapshots.json");
  for (const json& sample : samples.at("cases")) {
    SCOPED_TRACE(sample.at("case").get<std::string>());
    json facts = samples.at("machine");
    facts.merge_patch(sample.value("facts", json::object()));
    const SystemSnapshot snapshot = AssembleSnapshot(facts.get<SystemFacts>());
    testing::ExpectHolds({{"params", snapshot.params}, {"adapters", snapshot.adapters}},
                         sample.at("records"));
  }
}

std::uint32_t U32At(const std::vector<std::byte>& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, std::span(bytes).subspan(at).data(), sizeof value);
  return value;
}

// Each snapshot taken is named after its count ("h1", "h2" ...) and has `adapters` adapters.
TEST(LinuxIpHelper, TheFillWritesTheSnapshotTheSizingCallTook) {
  int taken = 0;
  std::size_t adapters = 1;
  const auto helper = SnapshotIpHelper([&] {
    SystemSnapshot s;
    s.params.HostName = "h" + std::to_string(++taken);
    s.adapters.resize(adapters);
    return s;
  });
  EXPECT_EQ(helper->GetAdaptersInfo(nullptr, nullptr), L::kErrorInvalidParameter);
  EXPECT_EQ(taken, 0);
  std::uint32_t size = 0;
  ASSERT_EQ(helper->GetAdaptersInfo(nullptr, &size), L::kErrorBufferOverflow);
  adapters = 3;  // the system changes between the two calls
  std::vector<std::byte> buffer(size);
  ASSERT_EQ(helper->GetAdaptersInfo(buffer.data(), &size), L::kNoError);
  EXPECT_EQ(U32At(buffer, L::k32Bit.adapter.Next), 0U);

  // A fill with no sizing before it takes a fresh snapshot; one too small keeps it for the next.
  std::vector<std::byte> small(100);
  size = static_cast<std::uint32_t>(small.size());
  ASSERT_EQ(helper->GetAdaptersInfo(small.data(), &size), L::kErrorBufferOverflow);
  EXPECT_EQ(size, 3 * L::k32Bit.adapter.Size);
  adapters = 5;
  std::vector<std::byte> large(size);
  ASSERT_EQ(helper->GetAdaptersInfo(large.data(), &size), L::kNoError);
  EXPECT_EQ(U32At(large, 2 * L::k32Bit.adapter.Size + L::k32Bit.adapter.Next), 0U);

  // The other query's first pair shares the snapshot the adapters were last answered from; its
  // second pair takes a fresh one.
  for (const char* host : {"h2", "h3"}) {
    size = 0;
    ASSERT_EQ(helper->GetNetworkParams(nullptr, &size), L::kErrorBufferOverflow);
    std::vector<std::byte> params(size);
    ASSERT_EQ(helper->GetNetworkParams(params.data(), &size), L::kNoError);
    EXPECT_STREQ(reinterpret_cast<const char*>(params.data()), host);
  }
  EXPECT_EQ(taken, 3);
}

// The fill writes every byte of its answer: what the caller's buffer held before never shows.
TEST(LinuxIpHelper, TheFillWritesEveryByteWhateverTheBufferHeld) {
  SystemSnapshot snapshot;
  snapshot.params.HostName = "host";
  snapshot.params.DnsServers = {{"10.0.0.53", "", 0}, {"10.0.0.54", "", 0}};
  iphlp::AdapterInfo adapter;
  adapter.AdapterName = "eth0";
  adapter.IpAddressList = {{"10.0.0.2", "255.255.255.0", 0}, {"10.0.0.3", "255.255.255.0", 0}};
  adapter.GatewayList = {{"10.0.0.1", "", 0}, {"10.0.0.254", "", 0}};
  snapshot.adapters = {adapter, adapter};
  using Query = std::uint32_t (iphlp::IpHelper::*)(std::byte*, std::uint32_t*);
  for (const Query query :
       {&iphlp::IpHelper::GetNetworkParams, &iphlp::IpHelper::GetAdaptersInfo}) {
    std::vector<std::vector<std::byte>> fills;
    for (const std::byte before : {std::byte{0}, std::byte{0xA5}}) {
      const auto helper = SnapshotIpHelper([&] { return snapshot; });
      std::uint32_t size = 0;
      ASSERT_EQ((*helper.*query)(nullptr, &size), L::kErrorBufferOverflow);
      std::vector<std::byte> buffer(size, before);
      ASSERT_EQ((*helper.*query)(buffer.data(), &size), L::kNoError);
      fills.push_back(buffer);
    }
    EXPECT_EQ(fills[0], fills[1]);
  }
}

// Kernel tables that could not be read whole (a dump that stays interrupted, a kernel that does
// not answer) fail the adapters query with the platform's code for adapter information it could
// not read; the host part, which does not come from them, still shows.
TEST(LinuxIpHelper, UnreadKernelTablesFailTheAdaptersQuery) {
  SystemFacts facts;
  facts.kernelHostName = "pc1";
  facts.kernelRead = false;
  const auto helper = SnapshotIpHelper([&] { return AssembleSnapshot(facts); });
  addrvue::testing::RecordingWindow window;
  Module1::ShowNetworkInfo(window, *helper, *DateNamesFor("C"));
  std::istringstream lines(window.Transcript());
  std::vector<json> boxes;
  for (std::string line; std::getline(lines, line);) {
    boxes.push_back(json::parse(line));
  }
  ASSERT_GT(boxes.size(), 1U);
  EXPECT_TRUE(std::any_of(boxes.begin(), boxes.end(), [](const json& box) {
    return box.at("Text1") == "ИМЯ КОМПЬЮТЕРА:  pc1";
  }));
  EXPECT_EQ(boxes.back().at("box"), "GetAdaptersInfo sizing failed with error 13");
}

TEST(LinuxIpHelper, NoAdapterAnswersNoData) {
  const auto helper = SnapshotIpHelper([] { return SystemSnapshot{}; });
  std::uint32_t size = 0;
  EXPECT_EQ(helper->GetAdaptersInfo(nullptr, &size), L::kErrorNoData);
}

}  // namespace
}  // namespace addrvue::linux_source
