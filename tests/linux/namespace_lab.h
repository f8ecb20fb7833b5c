// Real network namespaces, links and processes for the Linux source's integration tests. Every
// namespace is named uniquely per run and deleted at the end; every process started is ended by
// its own id.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/linux/snapshot.h"

namespace addrvue::linux_source::testing {

// Why these tests cannot run here, or empty when they can.
std::string NamespaceSkipReason();

// Skips the calling test, with the reason, where namespaces cannot be made.
#define SKIP_WITHOUT_NAMESPACES()                                     \
  do {                                                                \
    if (const auto reason = NamespaceSkipReason(); !reason.empty()) { \
      GTEST_SKIP() << reason;                                         \
    }                                                                 \
  } while (false)
// Whether a program can be found on PATH.
bool HaveProgram(const std::string& name);

// Runs a shell command and returns its standard output; throws with the output when it fails.
std::string Shell(const std::string& command);
std::string Quoted(const std::string& text);

class NetNamespace {
 public:
  NetNamespace();
  NetNamespace(const NetNamespace&) = delete;
  NetNamespace& operator=(const NetNamespace&) = delete;
  NetNamespace(NetNamespace&&) = delete;
  NetNamespace& operator=(NetNamespace&&) = delete;
  ~NetNamespace();

  [[nodiscard]] const std::string& Name() const { return name_; }
  // "ip -n NAME " + arguments.
  std::string Ip(const std::string& arguments) const;
  // Runs `work` on a thread that has entered this namespace (netlink sockets it opens see it).
  void Enter(const std::function<void()>& work) const;
  // A snapshot taken inside this namespace, with files read under `root`.
  [[nodiscard]] SystemSnapshot Snapshot(const SystemRoot& root = SystemRoot("/nonexistent")) const;
  // The interface index of a link.
  [[nodiscard]] int IndexOf(const std::string& link) const;

 private:
  std::string name_;
};

// A process started with its output in a log file; ended (SIGTERM, then waited for) when the
// object goes.
class ChildProcess {
 public:
  ChildProcess(const std::vector<std::string>& argv, const std::string& logFile);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ChildProcess(ChildProcess&&) = delete;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ~ChildProcess();

  [[nodiscard]] bool Running();

 private:
  pid_t pid_ = -1;
};

// Polls `ready` until it holds or `limit` passes.
bool WaitFor(const std::function<bool()>& ready,
             std::chrono::milliseconds limit = std::chrono::seconds(15));

// Makes a persistent tun device in the calling thread's namespace and sets its link type.
void MakeTunWithLinkType(const std::string& name, unsigned short linkType);

// The command that runs dnsmasq in `server` as a DHCP server on vs0 (10.50.0.1/24), handing out
// 10.50.0.100-150 for `leaseTime` with 10.50.0.1 as router, plus `options`; its lease, pid and
// log files go to `leaseFile`, `pidFile` (written once it answers) and standard output.
std::vector<std::string> DnsmasqCommand(const NetNamespace& server, const std::string& leaseTime,
                                        const std::vector<std::string>& options,
                                        const std::string& leaseFile, const std::string& pidFile);
// Joins `server`'s vs0 (10.50.0.1/24, up) and `client`'s vc0 (up, no address) by a veth pair.
void LinkDhcpPair(const NetNamespace& server, const NetNamespace& client);

const iphlp::AdapterInfo* FindAdapter(const SystemSnapshot& snapshot, const std::string& name);

// The "box" and "Text1" of each line of a box transcript, in order.
struct TranscriptBox {
  std::string box;
  std::string text1;
};
std::vector<TranscriptBox> ParseTranscript(const std::string& jsonl);
// The Text1 texts and box texts of a transcript, in order, as one list: "text:..." and "box:...".
std::vector<std::string> Items(const std::string& transcript);
bool Has(const std::vector<std::string>& items, const std::string& item);

}  // namespace addrvue::linux_source::testing
