// NetworkManager's DHCP4 options through its D-Bus API (sd-bus on the system bus).
#include <systemd/sd-bus.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/linux/network_manager_lease.h"

// sd-bus reads and writes messages through C varargs.
// NOLINTBEGIN(cppcoreguidelines-pro-type-vararg)
namespace addrvue::linux_source {
namespace {

constexpr const char* kService = "org.freedesktop.NetworkManager";

struct BusCloser {
  void operator()(sd_bus* bus) const { sd_bus_flush_close_unref(bus); }
};
struct MessageReleaser {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
using Bus = std::unique_ptr<sd_bus, BusCloser>;
using Message = std::unique_ptr<sd_bus_message, MessageReleaser>;

class BusError {
 public:
  BusError() = default;
  BusError(const BusError&) = delete;
  BusError& operator=(const BusError&) = delete;
  BusError(BusError&&) = delete;
  BusError& operator=(BusError&&) = delete;
  ~BusError() { sd_bus_error_free(&error_); }
  sd_bus_error* get() { return &error_; }

 private:
  sd_bus_error error_ = SD_BUS_ERROR_NULL;
};

Message GetProperty(sd_bus* bus, const char* path, const char* interface, const char* name,
                    const char* type) {
  BusError error;
  sd_bus_message* reply = nullptr;
  if (sd_bus_get_property(bus, kService, path, interface, name, error.get(), &reply, type) < 0) {
    return nullptr;
  }
  return Message(reply);
}

bool NetworkManagerRuns(sd_bus* bus) {
  BusError error;
  sd_bus_message* raw = nullptr;
  if (sd_bus_call_method(bus, "org.freedesktop.DBus", "/org/freedesktop/DBus",
                         "org.freedesktop.DBus", "NameHasOwner", error.get(), &raw, "s",
                         kService) < 0) {
    return false;
  }
  const Message reply(raw);
  int owned = 0;
  return sd_bus_message_read(reply.get(), "b", &owned) >= 0 && owned != 0;
}

std::vector<std::string> Devices(sd_bus* bus) {
  std::vector<std::string> paths;
  BusError error;
  sd_bus_message* raw = nullptr;
  if (sd_bus_call_method(bus, kService, "/org/freedesktop/NetworkManager", kService, "GetDevices",
                         error.get(), &raw, "") < 0) {
    return paths;
  }
  const Message reply(raw);
  if (sd_bus_message_enter_container(reply.get(), 'a', "o") < 0) {
    return paths;
  }
  const char* path = nullptr;
  while (sd_bus_message_read(reply.get(), "o", &path) > 0) {
    paths.emplace_back(path);
  }
  return paths;
}

std::map<std::string, std::string> Options(sd_bus* bus, const char* configPath) {
  std::map<std::string, std::string> options;
  const Message reply = GetProperty(bus, configPath, "org.freedesktop.NetworkManager.DHCP4Config",
                                    "Options", "a{sv}");
  if (!reply || sd_bus_message_enter_container(reply.get(), 'a', "{sv}") < 0) {
    return options;
  }
  while (sd_bus_message_enter_container(reply.get(), 'e', "sv") > 0) {
    const char* key = nullptr;
    const char* value = nullptr;
    if (sd_bus_message_read(reply.get(), "s", &key) < 0) {
      break;
    }
    std::string name(key);
    // Every option is a string; anything else is skipped.
    char type = 0;
    const char* contents = nullptr;
    if (sd_bus_message_peek_type(reply.get(), &type, &contents) < 0) {
      break;
    }
    if (type == 'v' && contents != nullptr && std::string_view(contents) == "s") {
      if (sd_bus_message_read(reply.get(), "v", "s", &value) < 0 || value == nullptr) {
        break;
      }
      options[name] = value;
    } else if (sd_bus_message_skip(reply.get(), "v") < 0) {
      break;
    }
    if (sd_bus_message_exit_container(reply.get()) < 0) {
      break;
    }
  }
  return options;
}

}  // namespace

LeasesByInterface ReadNetworkManagerBus() {
  LeasesByInterface leases;
  sd_bus* raw = nullptr;
  if (sd_bus_open_system(&raw) < 0) {
    return leases;
  }
  const Bus bus(raw);
  sd_bus_set_method_call_timeout(bus.get(), 2'000'000);  // microseconds
  if (!NetworkManagerRuns(bus.get())) {
    return leases;
  }
  for (const std::string& device : Devices(bus.get())) {
    const Message name = GetProperty(bus.get(), device.c_str(),
                                     "org.freedesktop.NetworkManager.Device", "IpInterface", "s");
    const Message config = GetProperty(bus.get(), device.c_str(),
                                       "org.freedesktop.NetworkManager.Device", "Dhcp4Config", "o");
    const char* interface = nullptr;
    const char* configPath = nullptr;
    if (!name || !config || sd_bus_message_read(name.get(), "s", &interface) < 0 ||
        sd_bus_message_read(config.get(), "o", &configPath) < 0 || interface == nullptr ||
        *interface == '\0' || configPath == nullptr || std::string_view(configPath) == "/") {
      continue;
    }
    if (auto lease = LeaseFromNetworkManagerOptions(Options(bus.get(), configPath))) {
      leases[interface] = std::move(*lease);
    }
  }
  return leases;
}

}  // namespace addrvue::linux_source
// NOLINTEND(cppcoreguidelines-pro-type-vararg)
