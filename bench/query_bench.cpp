// The Linux query pair against what a user would run instead, in the calling network namespace
// (scripts/bench runs it inside namespaces of 1 to 4 000 interfaces):
//   QueryPair         the sizing and the fill of both queries through SystemIpHelper()
//   NetlinkFloor      one bare dump each of links, IPv4 addresses and routes (nothing decoded)
//   PairAgainstFloor  the two above in turns, one of each per iteration, with their ratio
//   IpCommands        `ip -j addr show` and `ip -j route show`, each started and waited for
//   OneSnapshot, KernelDumps   where the pair's time goes
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "bench/netlink_floor.h"
#include "platform/ip_helper_layout.h"
#include "platform/linux/netlink_dump.h"
#include "platform/linux/snapshot.h"
#include "platform/system_ip_helper.h"

extern char** environ;

namespace {

// Both queries as the report asks them: a sizing call, then a fill of the size it gave, into a
// zero-filled buffer of exactly that size. The buffers are zeroed afresh for every pair, as the
// report's are, but kept from one pair to the next: a press maps its buffers once, and mapping
// them anew at every turn of a loop would measure the allocator, not the query.
bool QueryBoth(std::vector<std::byte>& params, std::vector<std::byte>& adapters) {
  const auto helper = iphlp::SystemIpHelper();
  std::uint32_t size = 0;
  helper->GetNetworkParams(nullptr, &size);
  params.assign(size, std::byte{0});
  if (helper->GetNetworkParams(params.data(), &size) != iphlp::layout::kNoError) {
    return false;
  }
  size = 0;
  helper->GetAdaptersInfo(nullptr, &size);
  adapters.assign(size, std::byte{0});
  benchmark::DoNotOptimize(adapters.data());
  return helper->GetAdaptersInfo(adapters.data(), &size) == iphlp::layout::kNoError;
}

void QueryPair(benchmark::State& state) {
  std::vector<std::byte> params;
  std::vector<std::byte> adapters;
  for (auto _ : state) {
    if (!QueryBoth(params, adapters)) {
      state.SkipWithError("a query failed");
      break;
    }
  }
  state.counters["adapters"] =
      static_cast<double>(adapters.size() / iphlp::layout::k32Bit.adapter.Size);
}
BENCHMARK(QueryPair)->Unit(benchmark::kMillisecond)->UseRealTime();

// Where the pair's time goes: one snapshot, and the kernel's part of it.
void OneSnapshot(benchmark::State& state) {
  for (auto _ : state) {
    auto snapshot = addrvue::linux_source::TakeSnapshot(addrvue::linux_source::SystemRoot{});
    benchmark::DoNotOptimize(snapshot.adapters.data());
  }
}
BENCHMARK(OneSnapshot)->Unit(benchmark::kMillisecond)->UseRealTime();

void KernelDumps(benchmark::State& state) {
  for (auto _ : state) {
    auto kernel = addrvue::linux_source::ReadKernelInterfaces();
    benchmark::DoNotOptimize(kernel);
  }
}
BENCHMARK(KernelDumps)->Unit(benchmark::kMillisecond)->UseRealTime();

// Runs a program with its output thrown away and waits for it.
bool Run(std::vector<const char*> argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  argv.push_back(nullptr);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, argv[0], &actions, nullptr,
                                   const_cast<char* const*>(argv.data()), environ);
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  return started == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
         WEXITSTATUS(status) == 0;
}

void IpCommands(benchmark::State& state) {
  for (auto _ : state) {
    if (!Run({"ip", "-j", "addr", "show"}) || !Run({"ip", "-j", "route", "show"})) {
      state.SkipWithError("ip failed");
      break;
    }
  }
}
BENCHMARK(IpCommands)->Unit(benchmark::kMillisecond)->UseRealTime();

void NetlinkFloor(benchmark::State& state) {
  std::size_t messages = 0;
  for (auto _ : state) {
    messages = addrvue::bench::DumpLinksAddressesRoutes();
    if (messages == 0) {
      state.SkipWithError("netlink dump failed");
      break;
    }
  }
  state.counters["messages"] = static_cast<double>(messages);
}
BENCHMARK(NetlinkFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

double Median(std::vector<double> values) {
  if (values.empty()) {
    return 0;
  }
  const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
  std::nth_element(values.begin(), middle, values.end());
  return *middle;
}

// The pair and the floor in turns, one of each per iteration, each timed on its own, so that
// whatever else the machine does falls on both alike and within a few milliseconds of each other;
// and so that neither runs many times in a row with its own memory alone in the caches, which no
// press of the program ever finds. Reports the medians (ms) and the median of the iterations'
// own ratios.
void PairAgainstFloor(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  const auto ms = [](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
  };
  std::vector<std::byte> params;
  std::vector<std::byte> adapters;
  std::vector<double> pair;
  std::vector<double> floor;
  std::vector<double> ratio;
  for (auto _ : state) {
    const auto start = Clock::now();
    const bool answered = QueryBoth(params, adapters);
    const auto between = Clock::now();
    const std::size_t messages = addrvue::bench::DumpLinksAddressesRoutes();
    const auto end = Clock::now();
    if (!answered || messages == 0) {
      state.SkipWithError("a query or the bare dump failed");
      break;
    }
    pair.push_back(ms(between - start));
    floor.push_back(ms(end - between));
    ratio.push_back(pair.back() / floor.back());
  }
  state.counters["pair_ms"] = Median(pair);
  state.counters["floor_ms"] = Median(floor);
  state.counters["ratio"] = Median(ratio);
}
BENCHMARK(PairAgainstFloor)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
