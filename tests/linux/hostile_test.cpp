// The Linux source and the report against what a hostile network or a broken disk gives them:
// a DHCP server's overlong, non-text or overfull options and extreme lease times, lease files
// cut short or garbled, an interface that goes between the two calls, thousands of interfaces,
// stores the user may not read and a system without /sys/class/net. Each ends in a sound report,
// the right failure box or empty fields; never a crash, a hang or a value from outside its field.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <ctime>
#include <set>

#include "platform/ip_helper_layout.h"
#include "platform/linux/date_names_linux.h"
#include "platform/linux/dhclient_leases.h"
#include "platform/linux/dhcpcd_lease.h"
#include "platform/linux/linux_ip_helper.h"
#include "platform/linux/network_manager_lease.h"
#include "platform/linux/networkd_lease.h"
#include "platform/system_ip_helper.h"
#include "report/module1.h"
#include "tests/linux/fixture_tree.h"
#include "tests/linux/namespace_lab.h"
#include "tests/support/recording_window.h"

namespace addrvue::linux_source::testing {
namespace {

namespace L = iphlp::layout;

constexpr std::int32_t kFarFuture = 2147483647;  // the records' latest time

std::string Report(const std::string& nsName, const std::string& setup) {
  return Shell("ip netns exec " + nsName + " unshare --mount sh -c " +
               Quoted(setup + "exec " + ADDRVUE_REPORT_TRANSCRIPT));
}

// The item that starts with `prefix`, or nothing.
std::optional<std::string> ItemStarting(const std::vector<std::string>& items,
                                        const std::string& prefix) {
  for (const auto& item : items) {
    if (item.starts_with(prefix)) {
      return item;
    }
  }
  return std::nullopt;
}

// --- A DHCP server whose options a hostile network chose --------------------------------------

struct HostileServer {
  const char* name;
  std::vector<std::string> options;  // dnsmasq arguments beyond the common ones
  const char* leaseTime;             // dnsmasq's range lease time
};

void PrintTo(const HostileServer& server, std::ostream* out) {
  *out << server.name;
}

// 255 bytes of text for the NetBIOS scope: the longest an option can carry.
std::string LongScope() {
  std::string scope;
  for (int i = 0; scope.size() < 255; ++i) {
    scope += static_cast<char>('a' + i % 26);
    if (scope.size() % 16 == 15 && scope.size() < 255) {
      scope += '.';
    }
  }
  return scope;
}

std::string TenWins() {
  std::string list = "--dhcp-option-force=44";
  for (int i = 0; i < 10; ++i) {
    list += ",10.50.0." + std::to_string(44 + i);
  }
  return list;
}

HostileServer LongScopeTenWinsInfinite() {
  return {"LongScopeTenWinsInfiniteLease",
          {"--dhcp-option-force=47," + LongScope(), TenWins(), "--dhcp-option-force=46,8"},
          "infinite"};
}

// A scope of bytes that are not text (control bytes, bytes of no character set, a NUL).
HostileServer BinaryScope() {
  return {"BinaryScope",
          {"--dhcp-option-force=47,01:ff:fe:80:0a:0d:22:5c:00:41:42",
           "--dhcp-option-force=44,10.50.0.44,10.50.0.45"},
          "2m"};
}

class HostileDhcpLab : public ::testing::TestWithParam<HostileServer> {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_NAMESPACES();
    if (!HaveProgram("dnsmasq")) {
      GTEST_SKIP() << "needs dnsmasq as the DHCP server";
    }
    server_ = std::make_unique<NetNamespace>();
    client_ = std::make_unique<NetNamespace>();
    LinkDhcpPair(*server_, *client_);
    files_.Write("/resolv.conf", "nameserver 10.99.0.1\n");
    dnsmasq_ = std::make_unique<ChildProcess>(
        DnsmasqCommand(*server_, GetParam().leaseTime, GetParam().options,
                       files_.Path("/dnsmasq.leases"), files_.Path("/dnsmasq.pid")),
        files_.Path("/dnsmasq.log"));
    ASSERT_TRUE(WaitFor([&] { return PathExists(files_.Path("/dnsmasq.pid")); }))
        << ReadFileText(files_.Path("/dnsmasq.log")).value_or("");
  }

  [[nodiscard]] bool ClientHasAddress() const {
    return Shell(client_->Ip("-4 address show dev vc0")).find("inet 10.50.0.") != std::string::npos;
  }

  // What every client's report must hold, whatever the server sent.
  static void ExpectSoundReport(const std::string& transcript, bool keepsScope) {
    const auto items = Items(transcript);
    EXPECT_TRUE(Has(items, "box:DHCP Server: 10.50.0.1")) << transcript;
    EXPECT_TRUE(Has(items, "box:Primary WINS Server: 10.50.0.44")) << transcript;
    EXPECT_TRUE(Has(items, "box:Secondary WINS Server: 10.50.0.45")) << transcript;
    EXPECT_FALSE(Has(items, "box:Primary WINS Server: 10.50.0.46")) << transcript;
    const auto scope = ItemStarting(items, "text:NetBIOS ИДЕНТИФИКАЦИЯ:  ");
    ASSERT_TRUE(scope) << transcript;
    const std::string shown = scope->substr(std::strlen("text:NetBIOS ИДЕНТИФИКАЦИЯ:  "));
    if (std::string(GetParam().name) == "BinaryScope") {
      // The bytes up to the NUL, each byte that is no character of the text shown as '?'; the
      // bytes after the NUL never reach the field (dhclient writes them escaped, dhcpcd raw).
      EXPECT_EQ(shown, "\x01???\n\r\"\\") << transcript;
    } else if (keepsScope) {
      EXPECT_EQ(shown, LongScope());
    }
    const auto expires = ItemStarting(items, "box:Lease Expires :  ");
    ASSERT_TRUE(expires) << transcript;
    if (std::string(GetParam().leaseTime) == "infinite") {
      EXPECT_EQ(*expires, "box:Lease Expires :  Tuesday, Jan 19 03:14:07 2038") << transcript;
    }
  }

  static void ExpectSoundSnapshot(const SystemSnapshot& snapshot, bool keepsScope) {
    const auto* vc0 = FindAdapter(snapshot, "vc0");
    ASSERT_TRUE(vc0);
    EXPECT_EQ(vc0->DhcpServer.IpAddress, "10.50.0.1");
    EXPECT_EQ(vc0->PrimaryWinsServer.IpAddress, "10.50.0.44");
    EXPECT_EQ(vc0->SecondaryWinsServer.IpAddress, "10.50.0.45");
    // The record's scope field holds 256 bytes and its NUL.
    EXPECT_LE(snapshot.params.ScopeId.size(), 259U);
    if (std::string(GetParam().leaseTime) == "infinite") {
      EXPECT_EQ(vc0->LeaseExpires, kFarFuture);
      EXPECT_GT(vc0->LeaseObtained, 0);
      EXPECT_LE(vc0->LeaseObtained, std::time(nullptr) + 1);
    }
    if (keepsScope && std::string(GetParam().name) != "BinaryScope") {
      EXPECT_EQ(snapshot.params.ScopeId, LongScope());
    }
  }

  FixtureTree files_;
  std::unique_ptr<NetNamespace> server_;
  std::unique_ptr<NetNamespace> client_;
  std::unique_ptr<ChildProcess> dnsmasq_;
};

TEST_P(HostileDhcpLab, IscDhclientKeepsTheFirstTwoWinsServersAndTheWholeScope) {
  if (!HaveProgram("dhclient")) {
    GTEST_SKIP() << "needs ISC dhclient (isc-dhcp-client)";
  }
  files_.Directory("/var/lib/dhcp");
  const std::string leases = files_.Path("/var/lib/dhcp/dhclient.vc0.leases");
  // dnsmasq fits a long option only into a message larger than the least every client takes.
  files_.Write("/dhclient.conf", "send dhcp-max-message-size 1400;\n");
  const ChildProcess client(
      {"ip", "netns", "exec", client_->Name(), "unshare", "--mount", "sh", "-c",
       "mount --bind " + files_.Path("/resolv.conf") +
           " /etc/resolv.conf && exec dhclient -d -1 -cf " + files_.Path("/dhclient.conf") +
           " -lf " + leases + " -pf " + files_.Path("/dhclient.pid") + " vc0"},
      files_.Path("/dhclient.log"));
  ASSERT_TRUE(WaitFor([&] {
    return ReadFileText(leases).value_or("").find("expire") != std::string::npos &&
           ClientHasAddress();
  })) << ReadFileText(files_.Path("/dhclient.log")).value_or("");
  ASSERT_TRUE(ClientHasAddress()) << ReadFileText(leases).value_or("(no lease file)");
  ExpectSoundSnapshot(client_->Snapshot(files_.Root()), true);
  ExpectSoundReport(Report(client_->Name(),
                           "mount --bind " + files_.Path("/var/lib/dhcp") + " /var/lib/dhcp && "),
                    true);
}

TEST_P(HostileDhcpLab, DhcpcdKeepsTheFirstTwoWinsServersAndTheWholeScope) {
  if (!HaveProgram("dhcpcd")) {
    GTEST_SKIP() << "needs dhcpcd (dhcpcd-base)";
  }
  files_.Directory("/var/lib/dhcpcd");
  files_.Directory("/run");
  files_.Write("/dhcpcd.conf", "noarp\n");
  const std::string binds = "mount --bind " + files_.Path("/var/lib/dhcpcd") +
                            " /var/lib/dhcpcd && mount --bind " + files_.Path("/run") + " /run && ";
  Shell("ip netns exec " + client_->Name() + " unshare --mount sh -c " +
        Quoted(binds + "mount --bind " + files_.Path("/resolv.conf") +
               " /etc/resolv.conf && dhcpcd -f " + files_.Path("/dhcpcd.conf") +
               " -1 -w -4 vc0 && dhcpcd -x vc0 || true"));
  ASSERT_TRUE(PathExists(files_.Path("/var/lib/dhcpcd/vc0.lease")));
  // dhcpcd gives up its address when it stops: the lease is reported on a fresh copy of it.
  Shell(client_->Ip("address replace " + [&] {
    const auto lease = ParseDhcpMessage(
        [&] {
          const auto text = ReadFileText(files_.Path("/var/lib/dhcpcd/vc0.lease"));
          return std::vector<std::uint8_t>(text->begin(), text->end());
        }(),
        std::nullopt);
    return lease->address.value_or("10.50.0.100");
  }() + "/24 dev vc0"));
  ExpectSoundSnapshot(client_->Snapshot(files_.Root()), true);
  ExpectSoundReport(Report(client_->Name(), binds), true);
}

INSTANTIATE_TEST_SUITE_P(Servers, HostileDhcpLab,
                         ::testing::Values(LongScopeTenWinsInfinite(), BinaryScope()),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Lease stores written by hand: a lease of no time, cut short, garbled ---------------------

// An interface vc0 holding 10.60.0.5/24 through 10.60.0.1, and a fixture root for its stores.
class LeaseStoreLab : public ::testing::Test {
 protected:
  void SetUp() override {
    SKIP_WITHOUT_NAMESPACES();
    ns_ = std::make_unique<NetNamespace>();
    Shell(ns_->Ip("link add vc0 type veth peer name vp0"));
    Shell(ns_->Ip("link set vc0 up"));
    Shell(ns_->Ip("link set vp0 up"));
    Shell(ns_->Ip("address add 10.60.0.5/24 dev vc0"));
    Shell(ns_->Ip("route add default via 10.60.0.1"));
    index_ = ns_->IndexOf("vc0");
  }

  [[nodiscard]] static const iphlp::AdapterInfo& Vc0(const SystemSnapshot& snapshot) {
    const auto* vc0 = FindAdapter(snapshot, "vc0");
    EXPECT_TRUE(vc0);
    static const iphlp::AdapterInfo none;
    return vc0 != nullptr ? *vc0 : none;
  }

  static std::string DhclientLease(std::int64_t expire, std::uint32_t seconds) {
    std::array<char, 64> date{};
    const std::time_t t = expire;
    std::tm utc{};
    gmtime_r(&t, &utc);
    std::strftime(date.data(), date.size(), "%w %Y/%m/%d %H:%M:%S", &utc);
    return "lease {\n  interface \"vc0\";\n  fixed-address 10.60.0.5;\n"
           "  option dhcp-server-identifier 10.60.0.1;\n  option dhcp-lease-time " +
           std::to_string(seconds) + ";\n  option netbios-name-servers 10.60.0.44;\n  expire " +
           date.data() + ";\n}\n";
  }

  // A DHCPACK as dhcpcd keeps it, with option 51 (lease time) set to `seconds`.
  static std::string DhcpAck(std::uint32_t seconds) {
    std::string m(240, '\0');
    m[0] = 2;                                  // BOOTREPLY
    m.replace(16, 4, "\x0a\x3c\x00\x05", 4);   // yiaddr 10.60.0.5
    m.replace(236, 4, "\x63\x82\x53\x63", 4);  // the magic cookie
    const auto option = [&](std::uint8_t code, std::vector<std::uint8_t> value) {
      m += static_cast<char>(code);
      m += static_cast<char>(value.size());
      m.append(value.begin(), value.end());
    };
    option(53, {5});
    option(54, {10, 60, 0, 1});
    option(51,
           {static_cast<std::uint8_t>(seconds >> 24U), static_cast<std::uint8_t>(seconds >> 16U),
            static_cast<std::uint8_t>(seconds >> 8U), static_cast<std::uint8_t>(seconds)});
    option(44, {10, 60, 0, 44});
    m += static_cast<char>(255);
    return m;
  }

  // Each store in turn alone in a fixture tree, with a lease of `seconds` that began now.
  void WriteStore(const FixtureTree& tree, const std::string& store, std::uint32_t seconds) const {
    const std::int64_t now = std::time(nullptr);
    if (store == "dhclient") {
      tree.Write("/var/lib/dhcp/dhclient.vc0.leases", DhclientLease(now + seconds, seconds));
    } else if (store == "dhcpcd") {
      tree.Write("/var/lib/dhcpcd/vc0.lease", DhcpAck(seconds));
    } else if (store == "networkd") {
      tree.Write("/run/systemd/netif/leases/" + std::to_string(index_),
                 "ADDRESS=10.60.0.5\nSERVER_ADDRESS=10.60.0.1\nLIFETIME=" +
                     std::to_string(seconds) + "\n");
    } else {
      tree.Write("/run/NetworkManager/devices/" + std::to_string(index_),
                 "[dhcp4]\ndhcp4.ip_address=10.60.0.5\ndhcp4.dhcp_server_identifier=10.60.0.1\n"
                 "dhcp4.dhcp_lease_time=" +
                     std::to_string(seconds) + "\ndhcp4.expiry=" + std::to_string(now + seconds) +
                     "\ndhcp4.netbios_name_servers=10.60.0.44\n");
    }
  }

  std::unique_ptr<NetNamespace> ns_;
  int index_ = 0;
};

// dnsmasq will not hand out a lease shorter than two minutes, so a lease of no time is written
// by hand, in each store's own form. It ended as it began: no store's lease is reported, and
// the static address stays. The same files with two minutes are reported, to show they are read.
TEST_F(LeaseStoreLab, ALeaseOfNoTimeHasEndedInEveryStore) {
  for (const std::string store : {"dhclient", "dhcpcd", "networkd", "NetworkManager"}) {
    SCOPED_TRACE(store);
    {
      FixtureTree tree;
      WriteStore(tree, store, 120);
      const auto snapshot = ns_->Snapshot(tree.Root());
      EXPECT_EQ(Vc0(snapshot).DhcpServer.IpAddress, "10.60.0.1");
    }
    FixtureTree tree;
    WriteStore(tree, store, 0);
    const auto snapshot = ns_->Snapshot(tree.Root());
    const auto& vc0 = Vc0(snapshot);
    EXPECT_EQ(vc0.IpAddressList.at(0).IpAddress, "10.60.0.5");
    if (store == "networkd") {
      // networkd's lease has no time of its own: the kernel's permanent address dates nothing,
      // and its lease stands with a lifetime that gives no date.
      EXPECT_EQ(vc0.LeaseExpires, 0);
    } else {
      EXPECT_EQ(vc0.DhcpServer.IpAddress, "") << store;
      EXPECT_EQ(vc0.HaveWins, 0U);
      EXPECT_EQ(vc0.DhcpEnabled, 0U);
      EXPECT_EQ(vc0.LeaseObtained, 0);
      EXPECT_EQ(vc0.LeaseExpires, 0);
    }
  }
}

// What dhclient writes for a server's quote, backslash, ';', '}' and unprintable bytes in a
// quoted option: the value comes back byte for byte and the statements after it still count.
TEST(HostileLeaseText, DhclientEscapesInAQuotedValueKeepTheRestOfTheLease) {
  const auto leases = ParseDhclientLeases(
      "lease {\n  interface \"vc0\";\n  fixed-address 10.60.0.5;\n"
      "  option netbios-scope \"a\\\"b;c}\\\\\\001\\377\\000x\";\n"
      "  option dhcp-server-identifier 10.60.0.1;\n  expire never;\n}\n"
      "lease {\n  interface \"vc1\";\n  fixed-address 10.60.1.5;\n}\n");
  ASSERT_EQ(leases.size(), 2U);
  const DhcpLease& vc0 = leases.at("vc0");
  EXPECT_EQ(vc0.scope, std::string("a\"b;c}\\\x01\xff\0x", 11));
  EXPECT_EQ(vc0.server, "10.60.0.1");
  EXPECT_EQ(vc0.expires, kNeverExpires);
  EXPECT_EQ(leases.at("vc1").address, "10.60.1.5");
}

// Every cut of a lease file, and the file with bytes flipped throughout: each reader keeps only
// what it read whole; the report runs on each to its end.
TEST_F(LeaseStoreLab, LeaseFilesCutShortOrGarbledGiveWholeFieldsOrNone) {
  const std::int64_t now = std::time(nullptr);
  const std::string dhclient = DhclientLease(now + 120, 120);
  const std::string ack = DhcpAck(120);
  const std::set<std::string> serverOrNothing{"", "10.60.0.1"};
  for (std::size_t cut = 0; cut <= dhclient.size(); ++cut) {
    const auto leases = ParseDhclientLeases(std::string_view(dhclient).substr(0, cut));
    for (const auto& [name, lease] : leases) {
      EXPECT_TRUE(serverOrNothing.contains(lease.server.value_or(""))) << cut;
      EXPECT_TRUE(lease.address.value_or("10.60.0.5") == "10.60.0.5") << cut;
      for (const auto& wins : lease.winsServers) {
        EXPECT_TRUE(wins == "10.60.0.44" || wins == "10.60.0.4") << cut << " " << wins;
      }
    }
  }
  for (std::size_t cut = 0; cut <= ack.size(); ++cut) {
    const auto lease =
        ParseDhcpMessage(std::span(reinterpret_cast<const std::uint8_t*>(ack.data()), cut), now);
    if (cut < 240) {
      EXPECT_FALSE(lease) << cut;
    } else if (lease) {
      EXPECT_TRUE(serverOrNothing.contains(lease->server.value_or(""))) << cut;
      EXPECT_TRUE(lease->winsServers.empty() || lease->winsServers.front() == "10.60.0.44");
    }
  }

  // End to end: the report inside the namespace on a file cut in the middle of a value, and on
  // files whose every seventh byte is flipped.
  static const auto names = DateNamesFor("C");
  const auto reportOn = [&](const FixtureTree& tree) {
    addrvue::testing::RecordingWindow window;
    ns_->Enter([&] {
      const auto ipHelper = SnapshotIpHelper([&] { return TakeSnapshot(tree.Root()); });
      Module1::ShowNetworkInfo(window, *ipHelper, *names);
    });
    return window.Transcript();
  };
  auto garble = [](std::string text) {
    for (std::size_t i = 3; i < text.size(); i += 7) {
      text[i] = static_cast<char>(text[i] ^ 0xA5);
    }
    return text;
  };
  const std::size_t midServer = dhclient.find("10.60.0.1;") + 6;
  const std::vector<std::pair<std::string, std::string>> files{
      {"/var/lib/dhcp/dhclient.vc0.leases", dhclient.substr(0, midServer)},
      {"/var/lib/dhcp/dhclient.vc0.leases", garble(dhclient)},
      {"/var/lib/dhcpcd/vc0.lease", ack.substr(0, ack.size() - 9)},
      {"/var/lib/dhcpcd/vc0.lease", garble(ack)},
      {"/run/systemd/netif/leases/" + std::to_string(index_), garble("ADDRESS=10.60.0.5\n")},
      {"/run/NetworkManager/devices/" + std::to_string(index_),
       garble("[dhcp4]\ndhcp4.ip_address=10.60.0.5\ndhcp4.expiry=99999999999999999999\n")}};
  for (const auto& [path, content] : files) {
    SCOPED_TRACE(path);
    FixtureTree tree;
    tree.Write(path, content);
    const auto items = Items(reportOn(tree));
    EXPECT_TRUE(Has(items, "text:IP Address: 10.60.0.5"));
    const auto server = ItemStarting(items, "box:DHCP Server: ");
    ASSERT_TRUE(server);
    EXPECT_TRUE(*server == "box:DHCP Server: " || *server == "box:DHCP Server: 10.60.0.1")
        << *server;
  }
}

// Stores only root may read: a normal user's report runs to its end with what the kernel
// tells, and root's shows the leases, so the stores are there to be read.
TEST_F(LeaseStoreLab, StoresTheUserMayNotReadLeaveTheirFieldsEmpty) {
  if (!HaveProgram("setpriv")) {
    GTEST_SKIP() << "needs setpriv (util-linux) to run the report as a normal user";
  }
  FixtureTree tree;
  WriteStore(tree, "dhclient", 120);
  WriteStore(tree, "networkd", 120);
  WriteStore(tree, "NetworkManager", 120);
  for (const char* dir : {"/var/lib/dhcp", "/run/systemd/netif/leases", "/run/NetworkManager"}) {
    ASSERT_EQ(chmod(tree.Path(dir).c_str(), 0700), 0);
  }
  // The stores are bound over the system's paths; the fixture's own parents stay passable.
  const std::string binds = "mount --bind " + tree.Path("/var/lib/dhcp") +
                            " /var/lib/dhcp && mount -t tmpfs tmpfs /run && "
                            "mkdir -p /run/systemd/netif /run/NetworkManager && "
                            "mount --bind " +
                            tree.Path("/run/systemd/netif/leases") +
                            " /run/systemd/netif && mount --bind " +
                            tree.Path("/run/NetworkManager") + " /run/NetworkManager && ";
  const auto asRoot = Items(Report(ns_->Name(), binds));
  EXPECT_TRUE(Has(asRoot, "box:DHCP Server: 10.60.0.1"));
  const std::string user = Shell("ip netns exec " + ns_->Name() + " unshare --mount sh -c " +
                                 Quoted(binds +
                                        "exec setpriv --reuid=65534 --regid=65534 "
                                        "--clear-groups " +
                                        ADDRVUE_REPORT_TRANSCRIPT));
  const auto asUser = Items(user);
  EXPECT_TRUE(Has(asUser, "text:IP Address: 10.60.0.5")) << user;
  EXPECT_TRUE(Has(asUser, "text:DHCP отключен ")) << user;
  EXPECT_TRUE(Has(asUser, "box:DHCP Server: ")) << user;
  EXPECT_TRUE(Has(asUser, "box:Lease Expires :  Thursday, Jan 1 00:00:00 1970")) << user;
}

// --- The system itself ---------------------------------------------------------------------

// Wraps the live source and takes a link away right after the adapters' sizing call.
class RemovingIpHelper final : public iphlp::IpHelper {
 public:
  RemovingIpHelper(std::unique_ptr<iphlp::IpHelper> inner, std::string removal)
      : inner_(std::move(inner)), removal_(std::move(removal)) {}

  std::uint32_t GetNetworkParams(std::byte* buffer, std::uint32_t* size) override {
    return inner_->GetNetworkParams(buffer, size);
  }
  std::uint32_t GetAdaptersInfo(std::byte* buffer, std::uint32_t* size) override {
    const std::uint32_t code = inner_->GetAdaptersInfo(buffer, size);
    if (buffer == nullptr && !removal_.empty()) {
      Shell(removal_);
      removal_.clear();
    }
    return code;
  }
  [[nodiscard]] std::optional<std::size_t> OffsetOfReference(
      std::uint32_t reference, const std::byte* bufferStart) const override {
    return inner_->OffsetOfReference(reference, bufferStart);
  }
  [[nodiscard]] const iphlp::AnsiCodePage& TextCodePage() const override {
    return inner_->TextCodePage();
  }

 private:
  std::unique_ptr<iphlp::IpHelper> inner_;
  std::string removal_;
};

// The fill answers from the snapshot its sizing call took, as a caller of the two calls expects:
// the size it was told is enough, the fill succeeds, and the report shows the machine as it was
// at the sizing call, whole. A fresh press sees the links gone, and with no adapter left at all
// it shows the sizing call's failure box.
TEST(HostileSystemTest, AnInterfaceRemovedBetweenSizingAndFillIsReportedAsTheSizingSawIt) {
  SKIP_WITHOUT_NAMESPACES();
  NetNamespace ns;
  Shell(ns.Ip("link add keep0 type veth peer name keep1"));
  Shell(ns.Ip("link add gone0 type veth peer name gone1"));
  Shell(ns.Ip("address add 10.70.0.2/24 dev keep0"));
  Shell(ns.Ip("address add 10.70.1.2/24 dev gone0"));
  static const auto names = DateNamesFor("C");
  const auto press = [&](const std::string& removal) {
    addrvue::testing::RecordingWindow window;
    ns.Enter([&] {
      RemovingIpHelper ipHelper(iphlp::SystemIpHelper(), removal);
      Module1::ShowNetworkInfo(window, ipHelper, *names);
    });
    return window.Transcript();
  };
  const auto adapters = [](const std::vector<std::string>& items) {
    return std::count(items.begin(), items.end(), "text:Adapter : Ethernet ");
  };

  // A veth goes with its peer: two of the four links go between the calls.
  const std::string during = press(ns.Ip("link del gone0"));
  const auto items = Items(during);
  EXPECT_FALSE(ItemStarting(items, "box:GetAdaptersInfo")) << during;
  EXPECT_TRUE(Has(items, "text:IP Address: 10.70.0.2")) << during;
  EXPECT_TRUE(Has(items, "text:IP Address: 10.70.1.2")) << during;
  EXPECT_EQ(adapters(items), 4);

  const auto after = Items(press(ns.Ip("link del keep0")));
  EXPECT_FALSE(Has(after, "text:IP Address: 10.70.1.2"));
  EXPECT_TRUE(Has(after, "text:IP Address: 10.70.0.2"));
  EXPECT_EQ(adapters(after), 2);

  const std::string empty = press("");
  EXPECT_EQ(Items(empty).back(), "box:GetAdaptersInfo sizing failed with error 232") << empty;
}

// 4 000 interfaces, each with an address, and a default route on each: every one is reported in
// index order, and the walk does not stop short.
TEST(HostileSystemTest, FourThousandInterfacesAreAllReported) {
  SKIP_WITHOUT_NAMESPACES();
  NetNamespace ns;
  FixtureTree files;
  std::string batch;
  for (int i = 0; i < 2000; ++i) {
    const std::string a = "a" + std::to_string(i);
    const std::string b = "b" + std::to_string(i);
    batch += "link add " + a + " type veth peer name " + b + "\n";
    batch += "address add 10.90." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1) +
             "/16 dev " + a + "\n";
    batch += "address add 10.91." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1) +
             "/16 dev " + b + "\n";
  }
  files.Write("/batch", batch);
  Shell(ns.Ip("-batch " + files.Path("/batch")));
  std::uint32_t size = 0;
  ns.Enter([&] {
    const auto helper = iphlp::SystemIpHelper();
    ASSERT_EQ(helper->GetAdaptersInfo(nullptr, &size), L::kErrorBufferOverflow);
  });
  EXPECT_GE(size, 4000U * L::adapter::kSize);
  static const auto names = DateNamesFor("C");
  addrvue::testing::RecordingWindow window;
  ns.Enter([&] { Module1::ShowNetworkInfo(window, *iphlp::SystemIpHelper(), *names); });
  const auto items = Items(window.Transcript());
  EXPECT_EQ(std::count(items.begin(), items.end(), "text:Adapter : Ethernet "), 4000);
  EXPECT_TRUE(Has(items, "text:IP Address: 10.91.7.250"));
}

// Without /sys/class/net (a tmpfs over it, and over the whole of /sys) the interfaces still come
// from the kernel; their descriptions fall back to the link's kind.
TEST(HostileSystemTest, NoSysClassNetStillReportsEveryInterface) {
  SKIP_WITHOUT_NAMESPACES();
  NetNamespace ns;
  Shell(ns.Ip("link add s0 type veth peer name s1"));
  Shell(ns.Ip("address add 10.71.0.2/24 dev s0"));
  for (const char* over : {"/sys/class/net", "/sys"}) {
    SCOPED_TRACE(over);
    const std::string transcript =
        Report(ns.Name(), std::string("mount -t tmpfs tmpfs ") + over + " && ");
    const auto items = Items(transcript);
    EXPECT_EQ(std::count(items.begin(), items.end(), "text: адаптер: veth"), 2) << transcript;
    EXPECT_TRUE(Has(items, "text:IP Address: 10.71.0.2")) << transcript;
  }
}

}  // namespace
}  // namespace addrvue::linux_source::testing
