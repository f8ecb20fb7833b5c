// The report on the scripted machines: every fixture's whole box transcript, in both record
// layouts, against its checked copy in tests/fixtures/expected; what only one layout or one text
// encoding shows; the calls of the query protocol, and a toolkit's refusal.
#include <gtest/gtest.h>
#include <iconv.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/linux/date_names_linux.h"
#include "platform/linux/linux_ip_helper.h"
#include "platform/utf.h"
#include "report/module1.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"

namespace addrvue::testing {
namespace {

namespace L = iphlp::layout;

struct LayoutRun {
  const char* name;
  const L::RecordLayout* layout;
  std::uint64_t referenceBase;
};

// The 32-bit layout with references as offsets, and the x64 one with references above 4 GiB,
// where an x64 process's heap lies.
constexpr std::array<LayoutRun, 2> kRuns{LayoutRun{"32", &L::k32Bit, 0},
                                         LayoutRun{"64", &L::k64Bit, 0x7FF6'2A40'0000}};

// Text in the code page iconv knows as "CP<number>", decoded as a Windows of that ANSI code page
// decodes it.
class IconvText final : public iphlp::TextDecoder {
 public:
  explicit IconvText(unsigned codePage) : encoding_("CP" + std::to_string(codePage)) {}

  [[nodiscard]] std::u16string Decode(std::span<const std::byte> text) const override {
    const std::unique_ptr<void, int (*)(iconv_t)> converter(iconv_open("UTF-8", encoding_.c_str()),
                                                            iconv_close);
    std::string in(reinterpret_cast<const char*>(text.data()), text.size());
    std::string out(4 * in.size(), '\0');
    char* inAt = in.data();
    char* outAt = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    EXPECT_NE(iconv(converter.get(), &inAt, &inLeft, &outAt, &outLeft), std::size_t(-1))
        << "bytes that are no " << encoding_;
    out.resize(out.size() - outLeft);
    return FromUtf8(out);
  }

 private:
  std::string encoding_;
};

std::string Report(iphlp::IpHelper& ipHelper) {
  RecordingWindow window;
  Module1::ShowNetworkInfo(window, ipHelper, *DateNamesFor("C"));
  return window.Transcript();
}

// A fixture in a layout: its references from the run's base, its text decoded in its own code
// page, else as UTF-8.
struct ReportRun {
  explicit ReportRun(const std::string& name, const LayoutRun& run = kRuns[0])
      : fixture(Fixtures(*run.layout).at(name)),
        text(fixture.codePage.value_or(0)),
        ipHelper(fixture.params, fixture.adapters,
                 {run.referenceBase, fixture.codePage ? &text : &iphlp::Utf8Text()}) {}
  const std::string& Report() {
    Module1::ShowNetworkInfo(window, ipHelper, *DateNamesFor("C"));
    return window.Transcript();
  }

  const Fixture& fixture;
  IconvText text;
  ScriptedIpHelper ipHelper;
  RecordingWindow window;
};

// The transcript with the text of the item that shows a reference (its number stays in Text1
// until another item replaces it) blanked.
std::string WithoutReference(const std::string& transcript) {
  static const std::regex reference(R"("Text1":"-?[0-9]+")");
  return std::regex_replace(transcript, reference, R"("Text1":"#")");
}

class Transcripts : public ::testing::TestWithParam<std::pair<std::string, const LayoutRun*>> {};

// The 32-bit run must match the checked copy exactly; the x64 one but for the reference item.
TEST_P(Transcripts, MatchTheCheckedCopy) {
  const auto& [name, run] = GetParam();
  std::ifstream in(std::string(ADDRVUE_EXPECTED_DIR) + "/" + name + ".jsonl");
  ASSERT_TRUE(in) << "missing tests/fixtures/expected/" << name << ".jsonl";
  const std::string expected(std::istreambuf_iterator<char>(in), {});
  const std::string shown = ReportRun(name, *run).Report();
  if (run->layout == &L::k32Bit) {
    EXPECT_EQ(shown, expected);
  } else {
    EXPECT_EQ(WithoutReference(shown), WithoutReference(expected));
  }
}

INSTANTIATE_TEST_SUITE_P(AllFixtures, Transcripts, ::testing::ValuesIn([] {
                           std::vector<std::pair<std::string, const LayoutRun*>> runs;
                           for (const auto& [name, fixture] : Fixtures()) {
                             for (const LayoutRun& run : kRuns) {
                               runs.emplace_back(name, &run);
                             }
                           }
                           return runs;
                         }()),
                         [](const auto& info) {
                           return info.param.first + "_" + info.param.second->name;
                         });

// The third host item shows the second DNS server's whole reference, above 4 GiB.
TEST(Layouts, TheReferenceItemShowsTheWholeReference) {
  const LayoutRun& run = kRuns[1];
  const std::string reference = std::to_string(run.referenceBase + run.layout->fixed.Size);
  EXPECT_NE(ReportRun("three_dns_two_adapters", run).Report().find(R"("Text1":")" + reference),
            std::string::npos);
}

// A lease time is read at the layout's time_t width: the x64 one holds 2100, the 32-bit one stops
// at 2038.
TEST(Layouts, LeaseTimesHoldWhatTheirTimeTHolds) {
  for (const auto& [layout, expires] : {std::pair{&L::k64Bit, "Friday, Jan 1 00:00:00 2100"},
                                        std::pair{&L::k32Bit, "Tuesday, Jan 19 03:14:07 2038"}}) {
    iphlp::AdapterInfo adapter;
    adapter.LeaseExpires = 4102444800;  // 2100-01-01 00:00:00
    ScriptedQuery adapters;
    adapters.image = iphlp::EncodeAdapters({adapter}, *layout);
    ScriptedIpHelper ipHelper(Fixtures(*layout).at("one_dns_one_adapter").params, adapters);
    EXPECT_NE(Report(ipHelper).find(std::string(R"("box":"Lease Expires :  )") + expires + '"'),
              std::string::npos)
        << expires;
  }
}

// The Linux source writes the 32-bit layout, and a description of more than Latin-1, too long for
// its field, is cut before the character that does not fit whole, and shown as it was written.
TEST(Layouts, TheLinuxSourceWritesAndReadsUtf8Text) {
  std::string description = "Адаптер ";  // 15 bytes, then 39 of 3 bytes: 132, over the 131
  std::string shown = description;
  for (int i = 0; i < 39; ++i) {
    description += "網";
    shown += i < 38 ? "網" : "";
  }
  const auto ipHelper = linux_source::SnapshotIpHelper([&] {
    linux_source::SystemSnapshot snapshot;
    snapshot.adapters.resize(1);
    snapshot.adapters[0].Description = description;
    return snapshot;
  });
  EXPECT_NE(Report(*ipHelper).find(R"("Text1":" адаптер: )" + shown + '"'), std::string::npos);
  std::uint32_t size = 0;
  ipHelper->GetAdaptersInfo(nullptr, &size);
  EXPECT_EQ(size, L::k32Bit.adapter.Size);
}

// The sizing call has no buffer and the fill call the size it asked for; nothing is retried, and a
// failed or empty host query ends the report.
TEST(QueryProtocol, SizesOnceFillsOnceAndNeverRetries) {
  struct Row {
    const char* fixture;
    std::vector<std::uint32_t> params;
    std::vector<std::uint32_t> adapters;
  };
  for (const Row& row :
       {Row{"one_dns_one_adapter", {0, 584}, {0, 640}},
        Row{"adapters_fill_111", {0, 584}, {0, 640}}, Row{"params_fill_111", {0, 584}, {}},
        Row{"params_sizing_0_empty", {0}, {}}}) {
    ReportRun run(row.fixture);
    run.Report();
    EXPECT_EQ(run.ipHelper.paramsCalls, row.params) << row.fixture;
    EXPECT_EQ(run.ipHelper.adaptersCalls, row.adapters) << row.fixture;
  }
}

// The report traps no error: a change the toolkit refuses ends it at once.
TEST(Report, EndsAtOnceWhenTheToolkitRefusesAChange) {
  ReportRun run("one_dns_one_adapter");
  run.window.refuse = Control::Label3;
  EXPECT_THROW(run.Report(), std::runtime_error);
  EXPECT_EQ(std::ranges::count(run.window.Transcript(), '\n'), 2);
}

}  // namespace
}  // namespace addrvue::testing
