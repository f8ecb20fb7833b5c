// The Linux query pair against what a user would run instead, in the calling network namespace
// (scripts/bench runs it inside namespaces of 1 to 4 000 interfaces):
//   QueryPair       the sizing and the fill of both queries through SystemIpHelper()
//   IpCommands      `ip -j addr show` and `ip -j route show`, each started and waited for
//   NetlinkFloor    one bare dump each of links, IPv4 addresses and routes (nothing decoded)
//   OneSnapshot, KernelDumps   where the pair's time goes
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

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
// them anew at every turn of this loop would measure the allocator, not the query.
void QueryPair(benchmark::State& state) {
  std::vector<std::byte> params;
  std::vector<std::byte> adapters;
  for (auto _ : state) {
    const auto helper = iphlp::SystemIpHelper();
    std::uint32_t size = 0;
    helper->GetNetworkParams(nullptr, &size);
    params.assign(size, std::byte{0});
    if (helper->GetNetworkParams(params.data(), &size) != iphlp::layout::kNoError) {
      state.SkipWithError("GetNetworkParams failed");
      break;
    }
    size = 0;
    helper->GetAdaptersInfo(nullptr, &size);
    adapters.assign(size, std::byte{0});
    if (helper->GetAdaptersInfo(adapters.data(), &size) != iphlp::layout::kNoError) {
      state.SkipWithError("GetAdaptersInfo failed");
      break;
    }
    benchmark::DoNotOptimize(adapters.data());
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

}  // namespace

BENCHMARK_MAIN();
