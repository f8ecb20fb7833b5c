#include "tests/linux/namespace_lab.h"

#include <fcntl.h>
#include <linux/if_tun.h>
#include <net/if.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <thread>

namespace addrvue::linux_source::testing {
namespace {

struct PipeCloser {
  void operator()(FILE* f) const { pclose(f); }
};

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  Fd(Fd&&) = delete;
  Fd& operator=(Fd&&) = delete;
  ~Fd() {
    if (fd_ >= 0) {
      close(fd_);
    }
  }
  [[nodiscard]] int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

bool HaveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string NamespaceSkipReason() {
  if (geteuid() != 0) {
    return "needs root to create network namespaces";
  }
  if (!HaveProgram("ip") || !HaveProgram("unshare")) {
    return "needs iproute2 and util-linux (ip, unshare) to build network namespaces";
  }
  return {};
}

std::string Quoted(const std::string& text) {
  std::string out = "'";
  for (const char c : text) {
    if (c == '\'') {
      out += "'\\''";
    } else {
      out += c;
    }
  }
  return out + "'";
}

std::string Shell(const std::string& command) {
  std::string output;
  int status = 0;
  {
    std::unique_ptr<FILE, PipeCloser> pipe(popen((command + " 2>&1").c_str(), "r"));
    if (!pipe) {
      throw std::runtime_error("cannot run: " + command);
    }
    std::array<char, 4096> chunk{};
    while (const std::size_t n = fread(chunk.data(), 1, chunk.size(), pipe.get())) {
      output.append(chunk.data(), n);
    }
    status = pclose(pipe.release());
  }
  if (status != 0) {
    throw std::runtime_error("command failed (" + std::to_string(status) + "): " + command + "\n" +
                             output);
  }
  return output;
}

NetNamespace::NetNamespace() {
  static std::atomic<int> counter{0};
  name_ = "addrvue-" + std::to_string(getpid()) + "-" + std::to_string(++counter);
  Shell("ip netns add " + name_);
  Shell(Ip("link set lo up"));
}

NetNamespace::~NetNamespace() {
  std::system(("ip netns del " + name_ + " 2>/dev/null").c_str());
}

std::string NetNamespace::Ip(const std::string& arguments) const {
  return "ip -n " + name_ + " " + arguments;
}

void NetNamespace::Enter(const std::function<void()>& work) const {
  std::exception_ptr failure;
  std::thread thread([&] {
    try {
      const Fd ns(open(("/run/netns/" + name_).c_str(), O_RDONLY | O_CLOEXEC));
      if (ns.get() < 0 || setns(ns.get(), CLONE_NEWNET) != 0) {
        throw std::runtime_error("cannot enter namespace " + name_ + ": " + std::strerror(errno));
      }
      work();
    } catch (...) {
      failure = std::current_exception();
    }
  });
  thread.join();
  if (failure) {
    std::rethrow_exception(failure);
  }
}

SystemSnapshot NetNamespace::Snapshot(const SystemRoot& root) const {
  SystemSnapshot snapshot;
  Enter([&] { snapshot = TakeSnapshot(root); });
  return snapshot;
}

int NetNamespace::IndexOf(const std::string& link) const {
  int index = 0;
  Enter([&] { index = static_cast<int>(if_nametoindex(link.c_str())); });
  return index;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& logFile) {
  std::vector<char*> args;
  std::vector<std::string> copies = argv;
  for (std::string& arg : copies) {
    args.push_back(arg.data());
  }
  args.push_back(nullptr);
  const int log = open(logFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  pid_ = fork();
  if (pid_ == 0) {
    if (log >= 0) {
      dup2(log, STDOUT_FILENO);
      dup2(log, STDERR_FILENO);
    }
    execvp(args[0], args.data());
    _exit(127);
  }
  if (log >= 0) {
    close(log);
  }
  if (pid_ < 0) {
    throw std::runtime_error("cannot start " + argv.front());
  }
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0 && Running()) {
    kill(pid_, SIGTERM);
    // A client that does not end within two seconds is ended for good.
    if (!WaitFor([this] { return !Running(); }, std::chrono::seconds(2))) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
}

bool ChildProcess::Running() {
  if (pid_ <= 0) {
    return false;
  }
  if (waitpid(pid_, nullptr, WNOHANG) == pid_) {
    pid_ = -1;
    return false;
  }
  return true;
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

void MakeTunWithLinkType(const std::string& name, unsigned short linkType) {
  const Fd tun(open("/dev/net/tun", O_RDWR | O_CLOEXEC));
  if (tun.get() < 0) {
    throw std::runtime_error("cannot open /dev/net/tun");
  }
  ifreq request{};
  std::strncpy(static_cast<char*>(request.ifr_name), name.c_str(), IFNAMSIZ - 1);
  request.ifr_flags = IFF_TUN | IFF_NO_PI;
  if (ioctl(tun.get(), TUNSETIFF, &request) != 0 ||
      ioctl(tun.get(), TUNSETLINK, static_cast<unsigned long>(linkType)) != 0 ||
      ioctl(tun.get(), TUNSETPERSIST, 1UL) != 0) {
    throw std::runtime_error("cannot make tun device " + name + ": " + std::strerror(errno));
  }
}

const iphlp::AdapterInfo* FindAdapter(const SystemSnapshot& snapshot, const std::string& name) {
  for (const auto& adapter : snapshot.adapters) {
    if (adapter.AdapterName == name) {
      return &adapter;
    }
  }
  return nullptr;
}

namespace {

// The string value of "key" in one JSON line (the transcript's own simple escapes).
std::string JsonField(const std::string& line, const std::string& key) {
  const std::string start = "\"" + key + "\":\"";
  const auto at = line.find(start);
  if (at == std::string::npos) {
    return {};
  }
  std::string value;
  for (std::size_t i = at + start.size(); i < line.size(); ++i) {
    if (line[i] == '"') {
      break;
    }
    if (line[i] == '\\' && i + 1 < line.size()) {
      ++i;
      if (line[i] == 'u' && i + 4 < line.size()) {
        value += static_cast<char>(std::stoi(line.substr(i + 1, 4), nullptr, 16));
        i += 4;
        continue;
      }
    }
    value += line[i];
  }
  return value;
}

}  // namespace

std::vector<TranscriptBox> ParseTranscript(const std::string& jsonl) {
  std::vector<TranscriptBox> boxes;
  for (const auto line : Lines(jsonl)) {
    if (!line.empty()) {
      const std::string text(line);
      boxes.push_back({JsonField(text, "box"), JsonField(text, "Text1")});
    }
  }
  return boxes;
}

std::vector<std::string> DnsmasqCommand(const NetNamespace& server, const std::string& leaseTime,
                                        const std::vector<std::string>& options,
                                        const std::string& leaseFile, const std::string& pidFile) {
  std::vector<std::string> argv{"ip",
                                "netns",
                                "exec",
                                server.Name(),
                                "dnsmasq",
                                "--keep-in-foreground",
                                "--conf-file=/dev/null",
                                "--port=0",
                                "--no-ping",
                                "--interface=vs0",
                                "--bind-interfaces",
                                "--dhcp-range=10.50.0.100,10.50.0.150,255.255.255.0," + leaseTime,
                                "--dhcp-option=3,10.50.0.1",
                                "--dhcp-leasefile=" + leaseFile,
                                "--pid-file=" + pidFile,
                                "--log-facility=-"};
  argv.insert(argv.end(), options.begin(), options.end());
  return argv;
}

void LinkDhcpPair(const NetNamespace& server, const NetNamespace& client) {
  Shell(server.Ip("link add vs0 type veth peer name vc0 netns " + client.Name()));
  Shell(server.Ip("address add 10.50.0.1/24 dev vs0"));
  Shell(server.Ip("link set vs0 up"));
  Shell(client.Ip("link set vc0 up"));
}

std::vector<std::string> Items(const std::string& transcript) {
  std::vector<std::string> items;
  for (const auto& box : ParseTranscript(transcript)) {
    items.push_back("text:" + box.text1);
    items.push_back("box:" + box.box);
  }
  return items;
}

bool Has(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

}  // namespace addrvue::linux_source::testing
