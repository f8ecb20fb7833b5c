// Putting the facts into the records (tests/linux/samples/snapshots.json holds each case's facts
// and the records they must give), and the two-call protocol of the Linux IP Helper.
#include <locale.h>  // NOLINT(modernize-deprecated-headers): newlocale is POSIX, not in <clocale>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <type_traits>

#include "platform/date_names.h"
#include "platform/ip_helper_layout.h"
#include "platform/linux/linux_ip_helper.h"
#include "platform/linux/snapshot.h"
#include "report/conversions.h"
#include "report/module1.h"
#include "tests/linux/sample_json.h"
#include "tests/support/english_date_names.h"
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
  return static_cast<std::uint32_t>(L::ReadLittleEndian(std::span(bytes).subspan(at, 4)));
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
  Module1::ShowNetworkInfo(window, *helper, addrvue::testing::EnglishDateNames{});
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

// The Linux source writes the 32-bit layout, and a description of more than Latin-1, too long for
// its field, is cut before the character that does not fit whole, and shown as it was written.
TEST(LinuxIpHelper, WritesAndReadsUtf8Text) {
  std::string description = "Адаптер ";  // 15 bytes, then 39 of 3 bytes: 132, over the 131
  std::string shown = description;
  for (int i = 0; i < 39; ++i) {
    description += "網";
    shown += i < 38 ? "網" : "";
  }
  const auto ipHelper = SnapshotIpHelper([&] {
    SystemSnapshot snapshot;
    snapshot.adapters.resize(1);
    snapshot.adapters[0].Description = description;
    return snapshot;
  });
  addrvue::testing::RecordingWindow window;
  Module1::ShowNetworkInfo(window, *ipHelper, addrvue::testing::EnglishDateNames{});
  EXPECT_NE(window.Transcript().find(R"("Text1":" адаптер: )" + shown + '"'), std::string::npos);
  std::uint32_t size = 0;
  ipHelper->GetAdaptersInfo(nullptr, &size);
  EXPECT_EQ(size, L::k32Bit.adapter.Size);
}
// The user's date words and time separator come from the locale the environment names.
TEST(UserDateNames, TakesNamesAndSeparatorFromTheLocale) {
  const std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> russian(
      newlocale(LC_TIME_MASK, "ru_RU.UTF-8", nullptr), freelocale);
  if (!russian) {
    GTEST_SKIP()
        << "locale ru_RU.UTF-8 is not installed (scripts/test generates it with localedef)";
  }
  ASSERT_EQ(setenv("LC_ALL", "ru_RU.UTF-8", 1), 0);
  EXPECT_EQ(LeaseDateText(0, *UserDateNames()), u"Четверг, янв 1 00:00:00 1970");
  unsetenv("LC_ALL");
}

TEST(LinuxIpHelper, NoAdapterAnswersNoData) {
  const auto helper = SnapshotIpHelper([] { return SystemSnapshot{}; });
  std::uint32_t size = 0;
  EXPECT_EQ(helper->GetAdaptersInfo(nullptr, &size), L::kErrorNoData);
}

}  // namespace
}  // namespace addrvue::linux_source
