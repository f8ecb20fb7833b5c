// The Linux source against real DHCP: dnsmasq serves a lease in one namespace, a real client
// takes it in another, and what the source reports is compared with what the server handed out.
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "tests/linux/fixture_tree.h"
#include "tests/linux/namespace_lab.h"

namespace addrvue::linux_source::testing {
namespace {

constexpr const char* kServer = "10.50.0.1";
constexpr std::int32_t kLeaseSeconds = 120;

class DhcpLab : public ::testing::Test {
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
        DnsmasqCommand(
            *server_, "2m",
            {"--dhcp-option=6,10.50.0.2,10.50.0.3", "--dhcp-option-force=44,10.50.0.44,10.50.0.45",
             "--dhcp-option-force=46,4", "--dhcp-option-force=47,scope"},
            files_.Path("/dnsmasq.leases"), files_.Path("/dnsmasq.pid")),
        files_.Path("/dnsmasq.log"));
    // dnsmasq answers once it has bound its socket; it writes its pid file just before.
    ASSERT_TRUE(WaitFor([&] { return PathExists(files_.Path("/dnsmasq.pid")); }))
        << ReadFileText(files_.Path("/dnsmasq.log")).value_or("");
    started_ = std::time(nullptr);
  }

  // "ip netns exec CLIENT unshare --mount sh -c SCRIPT" as an argument list.
  [[nodiscard]] std::vector<std::string> InClient(const std::string& script) const {
    return {"ip", "netns", "exec", client_->Name(), "unshare", "--mount", "sh", "-c", script};
  }

  [[nodiscard]] bool ClientHasAddress() const {
    return Shell(client_->Ip("-4 address show dev vc0")).find("inet 10.50.0.") !=
               std::string::npos &&
           Shell(client_->Ip("-4 route show default")).find("10.50.0.1") != std::string::npos;
  }

  // What every client reports alike, with or without the NetBIOS options it keeps.
  void ExpectLease(const SystemSnapshot& snapshot, bool keepsWins, bool keepsNodeTypeAndScope,
                   const char* store) const {
    SCOPED_TRACE(store);
    const std::int64_t now = std::time(nullptr);
    const iphlp::AdapterInfo* vc0 = FindAdapter(snapshot, "vc0");
    ASSERT_TRUE(vc0);
    EXPECT_EQ(vc0->DhcpEnabled, 1U);
    ASSERT_FALSE(vc0->IpAddressList.empty());
    EXPECT_TRUE(vc0->IpAddressList[0].IpAddress.starts_with("10.50.0.1"))
        << vc0->IpAddressList[0].IpAddress;
    EXPECT_EQ(vc0->IpAddressList[0].IpMask, "255.255.255.0");
    ASSERT_FALSE(vc0->GatewayList.empty());
    EXPECT_EQ(vc0->GatewayList[0].IpAddress, kServer);
    EXPECT_EQ(vc0->DhcpServer.IpAddress, kServer);
    EXPECT_GE(vc0->LeaseObtained, started_ - 2);
    EXPECT_LE(vc0->LeaseObtained, now + 1);
    EXPECT_NEAR(vc0->LeaseExpires - vc0->LeaseObtained, kLeaseSeconds, 2);
    if (keepsWins) {
      EXPECT_EQ(vc0->HaveWins, 1U);
      EXPECT_EQ(vc0->PrimaryWinsServer.IpAddress, "10.50.0.44");
      EXPECT_EQ(vc0->SecondaryWinsServer.IpAddress, "10.50.0.45");
    } else {
      EXPECT_EQ(vc0->HaveWins, 0U);
    }
    if (keepsNodeTypeAndScope) {
      EXPECT_EQ(snapshot.params.NodeType, 4U);
      EXPECT_EQ(snapshot.params.ScopeId, "scope");
    } else {
      EXPECT_EQ(snapshot.params.NodeType, keepsWins ? 8U : 1U);
      EXPECT_EQ(snapshot.params.ScopeId, "");
    }
  }

  [[nodiscard]] std::string Log(const std::string& name) const {
    return ReadFileText(files_.Path(name)).value_or("(no log)");
  }

  FixtureTree files_;
  std::unique_ptr<NetNamespace> server_;
  std::unique_ptr<NetNamespace> client_;
  std::unique_ptr<ChildProcess> dnsmasq_;
  std::int64_t started_ = 0;
};

TEST_F(DhcpLab, IscDhclient) {
  if (!HaveProgram("dhclient")) {
    GTEST_SKIP() << "needs ISC dhclient (isc-dhcp-client)";
  }
  files_.Directory("/var/lib/dhcp");
  const std::string leases = files_.Path("/var/lib/dhcp/dhclient.vc0.leases");
  // Its script rewrites /etc/resolv.conf: it gets a private one.
  const ChildProcess client(InClient("mount --bind " + files_.Path("/resolv.conf") +
                                     " /etc/resolv.conf && exec dhclient -d -1 -lf " + leases +
                                     " -pf " + files_.Path("/dhclient.pid") + " vc0"),
                            files_.Path("/dhclient.log"));
  ASSERT_TRUE(WaitFor([&] {
    return ReadFileText(leases).value_or("").find("expire") != std::string::npos &&
           ClientHasAddress();
  })) << Log("/dhclient.log");
  ExpectLease(client_->Snapshot(files_.Root()), true, true, "dhclient");

  // The report run inside the namespace reads the same lease from the system's own path.
  const std::string transcript =
      Shell("ip netns exec " + client_->Name() + " unshare --mount sh -c " +
            Quoted("mount --bind " + files_.Path("/var/lib/dhcp") + " /var/lib/dhcp && exec " +
                   ADDRVUE_REPORT_TRANSCRIPT));
  const auto items = Items(transcript);
  EXPECT_TRUE(Has(items, "box:Node type: Mixed")) << transcript;
  EXPECT_TRUE(Has(items, "text:NetBIOS ИДЕНТИФИКАЦИЯ:  scope")) << transcript;
  EXPECT_TRUE(Has(items, "text:DHCP включен ")) << transcript;
  EXPECT_TRUE(Has(items, "box:DHCP Server: 10.50.0.1")) << transcript;
  EXPECT_TRUE(Has(items, "box:Primary WINS Server: 10.50.0.44")) << transcript;
  EXPECT_TRUE(Has(items, "box:Secondary WINS Server: 10.50.0.45")) << transcript;
  EXPECT_TRUE(Has(items, "text:Точка входа : 10.50.0.1")) << transcript;
}

TEST_F(DhcpLab, Dhcpcd) {
  if (!HaveProgram("dhcpcd")) {
    GTEST_SKIP() << "needs dhcpcd (dhcpcd-base)";
  }
  files_.Directory("/var/lib/dhcpcd");
  files_.Directory("/run");
  files_.Write("/dhcpcd.conf", "noarp\n");
  // Its paths are fixed: they are bound to the fixture tree in a private mount namespace.
  Shell("ip netns exec " + client_->Name() + " unshare --mount sh -c " +
        Quoted("mount --bind " + files_.Path("/var/lib/dhcpcd") +
               " /var/lib/dhcpcd && mount --bind " + files_.Path("/run") +
               " /run && mount --bind " + files_.Path("/resolv.conf") +
               " /etc/resolv.conf && exec dhcpcd -f " + files_.Path("/dhcpcd.conf") +
               " -1 -w -4 vc0"));
  ASSERT_TRUE(PathExists(files_.Path("/var/lib/dhcpcd/vc0.lease")));
  ASSERT_TRUE(ClientHasAddress());
  ExpectLease(client_->Snapshot(files_.Root()), true, true, "dhcpcd");

  // dhcpcd's lease file is root's alone: a normal user's report still runs, and knows only
  // what the kernel tells (a dynamic address, no server, no NetBIOS options).
  struct stat info {};
  ASSERT_EQ(stat(files_.Path("/var/lib/dhcpcd/vc0.lease").c_str(), &info), 0);
  ASSERT_EQ(info.st_mode & S_IROTH, 0U);
  if (!HaveProgram("setpriv")) {
    GTEST_SKIP() << "needs setpriv (util-linux) to run the report as a normal user";
  }
  const std::string transcript =
      Shell("ip netns exec " + client_->Name() + " unshare --mount sh -c " +
            Quoted("mount --bind " + files_.Path("/var/lib/dhcpcd") +
                   " /var/lib/dhcpcd && exec setpriv --reuid=65534 --regid=65534 --clear-groups " +
                   ADDRVUE_REPORT_TRANSCRIPT));
  const auto items = Items(transcript);
  EXPECT_TRUE(Has(items, "text:DHCP включен ")) << transcript;
  EXPECT_TRUE(Has(items, "box:DHCP Server: ")) << transcript;
  EXPECT_TRUE(Has(items, "box:Node type: Broadcast")) << transcript;
  EXPECT_TRUE(Has(items, "text:Точка входа : 10.50.0.1")) << transcript;
}

TEST_F(DhcpLab, SystemdNetworkd) {
  if (!PathExists("/lib/systemd/systemd-networkd")) {
    GTEST_SKIP() << "needs systemd-networkd (systemd)";
  }
  if (getpwnam("systemd-network") == nullptr) {
    GTEST_SKIP() << "needs the systemd-network user that networkd runs as";
  }
  files_.Directory("/run");
  files_.Write("/network/50-vc0.network",
               "[Match]\nName=vc0\n\n[Network]\nDHCP=ipv4\nLinkLocalAddressing=no\n"
               "IPv6AcceptRA=no\n");
  // Without udev it waits forever for a read-write /sys to settle: it gets a read-only one.
  const ChildProcess networkd(
      InClient("mount --bind " + files_.Path("/run") +
               " /run && "
               "install -d -o systemd-network -g systemd-network /run/systemd /run/systemd/netif "
               "/run/systemd/netif/links /run/systemd/netif/leases /run/systemd/netif/lldp && "
               "mount --bind " +
               files_.Path("/network") +
               " /etc/systemd/network && "
               "mount -o bind,remount,ro /sys && exec /lib/systemd/systemd-networkd"),
      files_.Path("/networkd.log"));
  const std::string lease =
      files_.Path("/run/systemd/netif/leases/" + std::to_string(client_->IndexOf("vc0")));
  ASSERT_TRUE(WaitFor([&] { return PathExists(lease) && ClientHasAddress(); }))
      << Log("/networkd.log");
  // networkd keeps no NetBIOS options; the kernel's address lifetimes date its lease.
  ExpectLease(client_->Snapshot(files_.Root()), false, false, "systemd-networkd");
}

class NetworkManagerLab : public DhcpLab, public ::testing::WithParamInterface<const char*> {};

TEST_P(NetworkManagerLab, DhcpOptionsOverItsOwnBus) {
  const std::string backend = GetParam();
  if (!HaveProgram("NetworkManager") || !HaveProgram("dbus-daemon")) {
    GTEST_SKIP() << "needs NetworkManager and dbus-daemon (network-manager, dbus)";
  }
  if (backend == "dhclient" && !HaveProgram("dhclient")) {
    GTEST_SKIP() << "needs ISC dhclient for NetworkManager's dhclient backend";
  }
  // A private system bus: Debian's configuration without its user, helper or own services.
  std::string bus = ReadFileText("/usr/share/dbus-1/system.conf").value_or("");
  if (bus.empty()) {
    GTEST_SKIP() << "needs dbus's /usr/share/dbus-1/system.conf";
  }
  const auto drop = [&](const std::string& from, const std::string& to) {
    const auto a = bus.find(from);
    const auto b = a == std::string::npos ? a : bus.find(to, a);
    if (b != std::string::npos) {
      bus.erase(a, b + to.size() - a);
    }
  };
  drop("<user>", "</user>");
  drop("<servicehelper>", "</servicehelper>");
  drop("<pidfile>", "</pidfile>");
  drop("<standard_system_servicedirs", "/>");
  drop("<include ignore_missing=\"yes\">system-local.conf", "</include>");
  const auto relative = bus.find("<includedir>system.d</includedir>");
  if (relative != std::string::npos) {
    bus.replace(relative, 33, "<includedir>/usr/share/dbus-1/system.d</includedir>");
  }
  files_.Write("/bus.conf", bus);
  files_.Directory("/run/dbus");
  files_.Directory("/var/lib/NetworkManager");
  files_.Write("/nm/NetworkManager.conf",
               "[main]\nplugins=keyfile\ndhcp=" + backend +
                   "\ndns=none\nrc-manager=unmanaged\nauth-polkit=false\n"
                   "[connectivity]\nenabled=false\n");
  files_.Write("/nm/system-connections/vc0.nmconnection",
               "[connection]\nid=vc0\ntype=ethernet\ninterface-name=vc0\n"
               "[ipv4]\nmethod=auto\n[ipv6]\nmethod=disabled\n");
  chmod(files_.Path("/nm/system-connections/vc0.nmconnection").c_str(), 0600);
  const ChildProcess dbus(
      InClient("mount --bind " + files_.Path("/run") +
               " /run && exec dbus-daemon --nofork --config-file=" + files_.Path("/bus.conf")),
      files_.Path("/dbus.log"));
  const std::string socket = files_.Path("/run/dbus/system_bus_socket");
  ASSERT_TRUE(WaitFor([&] { return PathExists(socket); })) << Log("/dbus.log");
  const ChildProcess manager(
      InClient("mount --bind " + files_.Path("/run") + " /run && mount --bind " +
               files_.Path("/nm") + " /etc/NetworkManager && mount --bind " +
               files_.Path("/var/lib/NetworkManager") +
               " /var/lib/NetworkManager && mount --bind " + files_.Path("/resolv.conf") +
               " /etc/resolv.conf && "
               "mount -o bind,remount,ro /sys && exec NetworkManager --no-daemon"),
      files_.Path("/nm.log"));
  ASSERT_TRUE(WaitFor([&] { return ClientHasAddress(); })) << Log("/nm.log");

  // Through the bus alone: the fixture tree has no device files.
  setenv("DBUS_SYSTEM_BUS_ADDRESS", ("unix:path=" + socket).c_str(), 1);
  FixtureTree empty;
  SystemSnapshot snapshot;
  ASSERT_TRUE(WaitFor([&] {
    snapshot = client_->Snapshot(empty.Root());
    const auto* vc0 = FindAdapter(snapshot, "vc0");
    return vc0 != nullptr && !vc0->DhcpServer.IpAddress.empty();
  })) << Log("/nm.log");
  unsetenv("DBUS_SYSTEM_BUS_ADDRESS");
  // Its internal client never tells node type or scope; the dhclient backend does.
  ExpectLease(snapshot, true, backend == "dhclient", "NetworkManager over D-Bus");

  // And from the device state file it keeps, without the bus.
  ExpectLease(client_->Snapshot(files_.Root()), true, backend == "dhclient",
              "NetworkManager device file");
}

INSTANTIATE_TEST_SUITE_P(Backends, NetworkManagerLab, ::testing::Values("internal", "dhclient"));

}  // namespace
}  // namespace addrvue::linux_source::testing
