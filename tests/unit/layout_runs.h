// The record layouts the unit tests run the scripted machines in, and how each run writes them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/ip_helper_layout.h"
#include "tests/fixtures/fixtures.h"

namespace addrvue::testing {

struct LayoutRun {
  const char* name;
  const iphlp::layout::RecordLayout* layout;
  std::uint64_t referenceBase;
};

// The 32-bit layout with references as offsets, and the 64-bit one with references above 4 GiB,
// where an x64 process's heap lies.
inline constexpr std::array<LayoutRun, 2> kRuns{
    LayoutRun{"32", &iphlp::layout::k32Bit, 0},
    LayoutRun{"64", &iphlp::layout::k64Bit, 0x7FF6'2A40'0000}};

// How a fixture is written in a run: its references from the run's base, its text decoded in its
// own code page (a double-byte one by iconv, as Windows would), else as UTF-8.
ScriptedWriting Writing(const LayoutRun& run, const Fixture& fixture);

}  // namespace addrvue::testing
