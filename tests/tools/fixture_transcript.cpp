// fixture-transcript NAME: the box transcript of the report on one scripted fixture, with the C
// locale's date names. fixture-transcript --list: the fixtures' names.
#include <cstdio>
#include <iostream>
#include <string>

#include "platform/linux/date_names_linux.h"
#include "report/module1.h"
#include "tests/fixtures/fixtures.h"
#include "tests/support/recording_window.h"

int main(int argc, char** argv) {
  using namespace addrvue;
  using namespace addrvue::testing;
  if (argc != 2) {
    std::cerr << "usage: fixture-transcript NAME | --list\n";
    return 2;
  }
  const std::string name = argv[1];
  if (name == "--list") {
    for (const auto& fixture : AllFixtures()) {
      std::cout << fixture.name << '\n';
    }
    return 0;
  }
  const Fixture* fixture = FindFixture(name);
  if (fixture == nullptr) {
    std::cerr << "no fixture named " << name << '\n';
    return 2;
  }
  ScriptedIpHelper ipHelper(fixture->params, fixture->adapters);
  RecordingWindow window;
  Module1::ShowNetworkInfo(window, ipHelper, *DateNamesFor("C"));
  std::cout << window.Transcript();
  return 0;
}
