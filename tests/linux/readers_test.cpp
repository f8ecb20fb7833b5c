// Every reader of the Linux source on sample files as their real writers write them, each with
// the facts it must give (tests/linux/samples/readers.json). A row may cut its file short
// ("cut": the bytes kept) or overwrite bytes in it ("patch": {"at": offset, "bytes": [...]}); a
// "root" row reads a whole sample system root, whose interfaces are the row's "links".
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>

#include "platform/linux/dhclient_leases.h"
#include "platform/linux/dhcpcd_lease.h"
#include "platform/linux/netlink_dump.h"
#include "platform/linux/network_manager_lease.h"
#include "platform/linux/networkd_lease.h"
#include "tests/linux/fixture_tree.h"
#include "tests/linux/sample_json.h"

namespace addrvue::linux_source {
namespace {

using nlohmann::json;

// The link, address and route dumps of one read (requests 1, 2 and 3) framed over the same bytes,
// as the netlink fuzz target frames them.
json NetlinkFacts(const std::string& bytes) {
  KernelInterfaces kernel;
  json states = json::array();
  for (std::uint32_t sequence = 1; sequence <= 3; ++sequence) {
    const DumpState state =
        FrameDumpReply(std::as_bytes(std::span(bytes)), sequence,
                       [&](std::uint16_t type, std::span<const std::byte> payload) {
                         AddMessage(kernel, type, payload);
                       });
    states.push_back(state == DumpState::kDone   ? "done"
                     : state == DumpState::kMore ? "more"
                                                 : "failed");
  }
  return {{"states", states}, {"kernel", kernel}};
}

// The sample root is read from a copy, whose files' times the row may set.
json RootFacts(const std::string& directory, const json& row) {
  const testing::FixtureTree tree;
  tree.CopyIn(std::string(ADDRVUE_SAMPLES_DIR) + "/" + directory);
  const json mtimes = row.value("mtimes", json::object());
  for (const auto& [file, seconds] : mtimes.items()) {
    std::filesystem::last_write_time(tree.Path("/" + file),
                                     std::chrono::file_clock::from_sys(std::chrono::sys_seconds(
                                         std::chrono::seconds(seconds.get<std::int64_t>()))));
  }
  const SystemRoot& root = tree.Root();
  DeviceReader devices(root);
  json described = json::object();
  std::vector<std::string> names;
  for (const LinkEntry& link : row.value("links", std::vector<LinkEntry>{})) {
    described[link.name] = devices.Read(link);
    names.push_back(link.name);
  }
  return {{"resolver", ReadResolverConfig(root)},
          {"samba", ReadSambaConfig(root)},
          {"dhclient", ReadDhclientLeases(root)},
          {"dhcpcd", ReadDhcpcdLeases(root, names)},
          {"networkd", ReadNetworkdLeases(root)},
          {"NetworkManager", ReadNetworkManagerDeviceFiles(root)},
          {"devices", described}};
}

using Reader = std::function<json(const std::string& bytes, const json& row)>;

const std::map<std::string, Reader>& Readers() {
  static const std::map<std::string, Reader> readers{
      {"dhclient", [](const auto& text, auto&) { return json(ParseDhclientLeases(text)); }},
      {"dhcpcd",
       [](const auto& bytes, const auto& row) {
         const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
         return json(ParseDhcpMessage(std::span(data, bytes.size()),
                                      row.value("written", std::optional<std::int64_t>{})));
       }},
      {"networkd", [](const auto& text, auto&) { return json(ParseNetworkdLease(text)); }},
      {"NetworkManager",
       [](const auto& text, auto&) {
         return json(LeaseFromNetworkManagerOptions(ParseNetworkManagerDeviceFile(text)));
       }},
      {"resolv.conf", [](const auto& text, auto&) { return json(ParseResolvConf(text)); }},
      {"smb.conf", [](const auto& text, auto&) { return json(ParseSmbConf(text)); }},
      {"netlink", [](const auto& bytes, auto&) { return NetlinkFacts(bytes); }},
  };
  return readers;
}

TEST(SampleReaders, EachSampleGivesItsFacts) {
  for (const json& row : addrvue::testing::SampleJson("readers.json")) {
    const std::string reader = row.at("reader");
    const std::string file = row.at("file");
    SCOPED_TRACE(::testing::Message()
                 << reader << " " << file << (row.contains("cut") ? " cut" : "")
                 << (row.contains("patch") ? " patched" : ""));
    if (reader == "root") {
      addrvue::testing::ExpectHolds(RootFacts(file, row), row.at("facts"));
      continue;
    }
    std::string bytes = addrvue::testing::SampleBytes(file);
    bytes.resize(std::min<std::size_t>(bytes.size(), row.value("cut", bytes.size())));
    if (row.contains("patch")) {
      const auto patch = row.at("patch").at("bytes").get<std::vector<std::uint8_t>>();
      std::copy(patch.begin(), patch.end(), bytes.begin() + row.at("patch").at("at").get<long>());
    }
    addrvue::testing::ExpectHolds(Readers().at(reader)(bytes, row), row.at("facts"));
  }
}

}  // namespace
}  // namespace addrvue::linux_source
