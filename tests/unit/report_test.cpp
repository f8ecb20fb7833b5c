// The report on the scripted machines: every fixture's whole box transcript, in both record
// layouts, against its checked copy in tests/fixtures/expected; the calls of the query protocol,
// and a toolkit's refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <regex>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/linux/date_names_linux.h"
#include "report/module1.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"
#include "tests/unit/layout_runs.h"

namespace addrvue::testing {
namespace {

struct ReportRun {
  explicit ReportRun(const std::string& name, const LayoutRun& run = kRuns[0])
      : ipHelper(Fixtures(*run.layout).at(name).params, Fixtures(*run.layout).at(name).adapters,
                 Writing(run, Fixtures(*run.layout).at(name))) {}
  const std::string& Report() {
    Module1::ShowNetworkInfo(window, ipHelper, *DateNamesFor("C"));
    return window.Transcript();
  }

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

// The 32-bit run must match the checked copy exactly; the 64-bit one, whose references are
// addresses above 4 GiB, but for the reference item.
TEST_P(Transcripts, MatchTheCheckedCopy) {
  const auto& [name, run] = GetParam();
  std::ifstream in(std::string(ADDRVUE_EXPECTED_DIR) + "/" + name + ".jsonl");
  ASSERT_TRUE(in) << "missing tests/fixtures/expected/" << name << ".jsonl";
  const std::string expected(std::istreambuf_iterator<char>(in), {});
  const std::string shown = ReportRun(name, *run).Report();
  if (run->layout == &iphlp::layout::k32Bit) {
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
