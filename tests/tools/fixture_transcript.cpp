// fixture-transcript NAME: the box transcript of the report on one scripted fixture, with the C
// locale's date names. fixture-transcript --list: the fixtures' names.
#include <iostream>
#include <span>
#include <string>

#include "platform/linux/date_names_linux.h"
#include "report/module1.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"

int main(int argc, char** argv) {
  using namespace addrvue::testing;
  const auto args = std::span(argv, static_cast<std::size_t>(argc));
  const std::string name = args.size() == 2 ? args[1] : "";
  if (name == "--list") {
    for (const auto& fixture : AllFixtures()) {
      std::cout << fixture.name << '\n';
    }
    return 0;
  }
  const Fixture* fixture = FindFixture(name);
  if (fixture == nullptr) {
    std::cerr << "usage: fixture-transcript NAME | --list (no fixture named '" << name << "')\n";
    return 2;
  }
  ScriptedIpHelper ipHelper(fixture->params, fixture->adapters);
  RecordingWindow window;
  addrvue::Module1::ShowNetworkInfo(window, ipHelper, *addrvue::DateNamesFor("C"));
  std::cout << window.Transcript();
  return 0;
}
