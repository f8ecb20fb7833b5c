// The labs of the Linux source: what the machine must offer them, real network namespaces and
// processes, and the report run inside a namespace. Every namespace is named uniquely per run and
// deleted at the end; every process group started is ended by its own id.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/linux/snapshot.h"
#include "tests/linux/fixture_tree.h"

namespace addrvue::linux_source::testing {

// One plain line naming the first of `needs` this machine lacks, and the Debian package that
// brings it, or empty when it has them all. A need is "netns" (root, iproute2 and a working
// `ip netns add`), "overlay" (util-linux's unshare and an overlay over /etc in a mount namespace
// of its own, as a report run inside a namespace with its own files needs) or a program: "dnsmasq",
// "dhclient", "dhcpcd", "networkd", "NetworkManager", "dbus-daemon", "setpriv". Each is probed once
// per process.
std::string Missing(const std::vector<std::string>& needs);

// Skips the test, with that line, where the machine lacks one of the needs (a list, or a vector of
// them). A macro: GTEST_SKIP returns from the test itself.
// NOLINTNEXTLINE(cppcoreguidelines-macro-usage)
#define SKIP_WITHOUT(...)                                                \
  do {                                                                   \
    if (const auto missing = Missing({__VA_ARGS__}); !missing.empty()) { \
      GTEST_SKIP() << missing;                                           \
    }                                                                    \
  } while (false)

// Runs a shell command and returns its output; throws with the output when it fails.
std::string Shell(const std::string& command);

class NetNamespace {
 public:
  NetNamespace();
  NetNamespace(const NetNamespace&) = delete;
  NetNamespace& operator=(const NetNamespace&) = delete;
  NetNamespace(NetNamespace&&) = delete;
  NetNamespace& operator=(NetNamespace&&) = delete;
  ~NetNamespace();

  [[nodiscard]] const std::string& Name() const { return name_; }
  // Runs "ip -n NAME <arguments>".
  void Ip(const std::string& arguments) const;
  // The command that runs `script` in this namespace with a private mount and UTS namespace, $T
  // naming `tree`.
  [[nodiscard]] std::string Inside(const FixtureTree& tree, const std::string& script) const;
  // Runs `work` on a thread that has entered this namespace (netlink sockets it opens see it).
  void Enter(const std::function<void()>& work) const;
  // A snapshot taken inside this namespace, with files read under `root`.
  [[nodiscard]] SystemSnapshot Snapshot(const SystemRoot& root = SystemRoot("/nonexistent")) const;

 private:
  std::string name_;
};

// A shell command run in its own process group, its output to `logFile`; the group is killed when
// the object goes.
class ChildProcess {
 public:
  ChildProcess(const std::string& command, const std::string& logFile);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ChildProcess(ChildProcess&&) = delete;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ~ChildProcess();

  [[nodiscard]] bool Running() const;
  // Stops the command's own process (not its group) as SIGSTOP does: it keeps what it holds and
  // answers nothing.
  void Stop() const;

 private:
  std::string script_;  // made before the fork: the child only calls what is safe after it
  pid_t pid_;
};

// Polls `ready` until it holds or `limit` passes.
bool WaitFor(const std::function<bool()>& ready,
             std::chrono::milliseconds limit = std::chrono::seconds(15));

const iphlp::AdapterInfo* FindAdapter(const SystemSnapshot& snapshot, const std::string& name);

// The Text1 and box texts of a box transcript, in order, as "text:..." and "box:...".
std::vector<std::string> Items(const std::string& transcript);

// The output of `program` run inside `ns` after `setup` (shell, $T naming `tree`), with `tree`
// laid over the system's /etc and /var and its /run as the only /run; as the user nobody when
// asked.
std::string RunInside(const NetNamespace& ns, const FixtureTree& tree, const std::string& program,
                      const std::string& setup = "", bool asNobody = false);

// The report of report-transcript run there.
std::vector<std::string> ReportItems(const NetNamespace& ns, const FixtureTree& tree,
                                     const std::string& setup = "", bool asNobody = false);

}  // namespace addrvue::linux_source::testing
