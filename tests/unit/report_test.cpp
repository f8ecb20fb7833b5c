// The report on the scripted machines: every fixture's whole box transcript against its checked
// copy in tests/fixtures/expected, the calls of the query protocol, and a toolkit's refusal.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/linux/date_names_linux.h"
#include "report/module1.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"

namespace addrvue::testing {
namespace {

struct ReportRun {
  explicit ReportRun(const std::string& name)
      : ipHelper(Fixtures().at(name).params, Fixtures().at(name).adapters) {}
  const std::string& Report() {
    Module1::ShowNetworkInfo(window, ipHelper, *DateNamesFor("C"));
    return window.Transcript();
  }

  ScriptedIpHelper ipHelper;
  RecordingWindow window;
};

class Transcripts : public ::testing::TestWithParam<std::string> {};

TEST_P(Transcripts, MatchTheCheckedCopy) {
  std::ifstream in(std::string(ADDRVUE_EXPECTED_DIR) + "/" + GetParam() + ".jsonl");
  ASSERT_TRUE(in) << "missing tests/fixtures/expected/" << GetParam() << ".jsonl";
  EXPECT_EQ(ReportRun(GetParam()).Report(), std::string(std::istreambuf_iterator<char>(in), {}));
}

INSTANTIATE_TEST_SUITE_P(AllFixtures, Transcripts, ::testing::ValuesIn([] {
                           std::vector<std::string> names;
                           for (const auto& [name, fixture] : Fixtures()) {
                             names.push_back(name);
                           }
                           return names;
                         }()),
                         [](const auto& info) { return info.param; });

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
