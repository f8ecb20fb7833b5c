#include "tests/linux/namespace_lab.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace addrvue::linux_source::testing {
namespace {

// A shell test that fails where the machine lacks a need, and what the skip says then.
struct Probe {
  std::string_view need;
  const char* test;
  const char* lacking;
};

constexpr std::array kProbes{
    Probe{"netns", "test $(id -u) = 0", "needs root to make network namespaces"},
    Probe{"netns", "command -v ip", "needs ip (Debian package iproute2)"},
    Probe{"netns", "ip netns add addrvue-probe-$$ && ip netns del addrvue-probe-$$",
          "cannot make a network namespace here (ip netns add fails)"},
    Probe{"overlay", "test $(id -u) = 0", "needs root to mount an overlay file system"},
    Probe{"overlay", "command -v unshare", "needs unshare (Debian package util-linux)"},
    Probe{"overlay",
          "d=$(mktemp -d) && unshare --mount mount -t overlay overlay -o lowerdir=$d:/etc /etc; "
          "s=$?; rmdir $d; exit $s",
          "cannot lay an overlay file system over /etc here"},
    Probe{"dnsmasq", "command -v dnsmasq", "needs dnsmasq (Debian package dnsmasq)"},
    Probe{"dhclient", "command -v dhclient", "needs dhclient (Debian package isc-dhcp-client)"},
    Probe{"dhcpcd", "command -v dhcpcd", "needs dhcpcd (Debian package dhcpcd-base)"},
    Probe{"networkd", "test -x /lib/systemd/systemd-networkd",
          "needs systemd-networkd (Debian package systemd)"},
    Probe{"NetworkManager", "command -v NetworkManager",
          "needs NetworkManager (Debian package network-manager)"},
    Probe{"dbus-daemon", "command -v dbus-daemon", "needs dbus-daemon (Debian package dbus)"},
    Probe{"setpriv", "command -v setpriv", "needs setpriv (Debian package util-linux)"},
};

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return out + "'";
}

}  // namespace

std::string Missing(const std::vector<std::string>& needs) {
  static std::map<std::string, std::string> lacking;  // each need is probed once per process
  for (const auto& need : needs) {
    if (!lacking.contains(need)) {
      std::string& reason = lacking[need];
      for (const Probe& probe : kProbes) {
        if (probe.need == need && reason.empty() &&
            std::system((std::string(probe.test) + " >/dev/null 2>&1").c_str()) != 0) {
          reason = probe.lacking;
        }
      }
    }
    if (!lacking[need].empty()) {
      return lacking[need];
    }
  }
  return {};
}

std::string Shell(const std::string& command) {
  struct PipeCloser {
    void operator()(FILE* f) const { pclose(f); }
  };
  std::unique_ptr<FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
  if (!pipe) {
    throw std::runtime_error("cannot run: " + command);
  }
  std::string output;
  std::array<char, 4096> chunk{};
  while (const std::size_t n = fread(chunk.data(), 1, chunk.size(), pipe.get())) {
    output.append(chunk.data(), n);
  }
  if (const int status = pclose(pipe.release()); status != 0) {
    throw std::runtime_error(command + "\n" + output + "\nfailed with status " +
                             std::to_string(status));
  }
  return output;
}

NetNamespace::NetNamespace() {
  static std::atomic<int> counter{0};
  name_ = "addrvue-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  Shell("ip netns add " + name_);
  Ip("link set lo up");
}

// What a lab started in the namespace and what those started (NetworkManager's dhclient leaves
// its process group) ends with it.
NetNamespace::~NetNamespace() {
  std::system(("ip netns pids " + name_ + " | xargs -r kill -9; ip netns del " + name_).c_str());
}

void NetNamespace::Ip(const std::string& arguments) const {
  Shell("ip -n " + name_ + " " + arguments);
}

std::string NetNamespace::Inside(const FixtureTree& tree, const std::string& script) const {
  return "ip netns exec " + name_ + " unshare --mount --uts sh -c " +
         Quoted("T=" + tree.Top() + "; " + script);
}

// setns moves only the calling thread, so the work runs on a thread of its own; the future hands
// back what it throws.
void NetNamespace::Enter(const std::function<void()>& work) const {
  std::async(std::launch::async, [&] {
    const int ns = open(("/run/netns/" + name_).c_str(), O_RDONLY | O_CLOEXEC);  // NOLINT(*-vararg)
    const bool entered = ns >= 0 && setns(ns, CLONE_NEWNET) == 0;
    if (ns >= 0) {
      close(ns);
    }
    if (!entered) {
      throw std::runtime_error("cannot enter namespace " + name_);
    }
    work();
  }).get();
}

SystemSnapshot NetNamespace::Snapshot(const SystemRoot& root) const {
  SystemSnapshot snapshot;
  Enter([&] { snapshot = TakeSnapshot(root); });
  return snapshot;
}

ChildProcess::ChildProcess(const std::string& command, const std::string& logFile)
    : script_("exec >" + Quoted(logFile) + " 2>&1; exec " + command), pid_(fork()) {
  if (pid_ == 0) {
    setpgid(0, 0);
    // A test process that dies leaves no server running.
    prctl(PR_SET_PDEATHSIG, SIGKILL);                        // NOLINT(*-vararg)
    execl("/bin/sh", "sh", "-c", script_.c_str(), nullptr);  // NOLINT(*-vararg)
    _exit(127);
  }
  if (pid_ < 0) {
    throw std::runtime_error("cannot start " + command);
  }
  setpgid(pid_, pid_);  // whichever of the two runs first
}

// Nothing in the labs needs a program's own ending: its whole group is killed.
ChildProcess::~ChildProcess() {
  kill(-pid_, SIGKILL);
  waitpid(pid_, nullptr, 0);
}

bool ChildProcess::Running() const {
  siginfo_t info{};
  return waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
         info.si_pid == 0;
}

void ChildProcess::Stop() const {
  kill(pid_, SIGSTOP);
}

bool WaitFor(const std::function<bool()>& ready, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!ready()) {
    if (std::chrono::steady_clock::now() > end) {
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

const iphlp::AdapterInfo* FindAdapter(const SystemSnapshot& snapshot, const std::string& name) {
  const auto found = std::ranges::find(snapshot.adapters, name, &iphlp::AdapterInfo::AdapterName);
  return found == snapshot.adapters.end() ? nullptr : &*found;
}

std::vector<std::string> Items(const std::string& transcript) {
  std::vector<std::string> items;
  std::istringstream lines(transcript);
  for (std::string line; std::getline(lines, line);) {
    const auto box = nlohmann::json::parse(line);
    items.push_back("text:" + box.at("Text1").get<std::string>());
    items.push_back("box:" + box.at("box").get<std::string>());
  }
  return items;
}

std::string RunInside(const NetNamespace& ns, const FixtureTree& tree, const std::string& program,
                      const std::string& setup, bool asNobody) {
  const std::string layOver =
      "mkdir -p $T/etc $T/var $T/run && mount -t overlay overlay -o lowerdir=$T/etc:/etc /etc && "
      "mount -t overlay overlay -o lowerdir=$T/var:/var /var && mount -t tmpfs tmpfs /run && "
      "cp -a $T/run/. /run && ";
  const std::string user = asNobody ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  return Shell(ns.Inside(tree, layOver + setup + "exec " + user + program));
}

std::vector<std::string> ReportItems(const NetNamespace& ns, const FixtureTree& tree,
                                     const std::string& setup, bool asNobody) {
  return Items(RunInside(ns, tree, ADDRVUE_REPORT_TRANSCRIPT, setup, asNobody));
}

}  // namespace addrvue::linux_source::testing
