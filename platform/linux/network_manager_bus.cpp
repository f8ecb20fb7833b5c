// NetworkManager's DHCP4 options through its D-Bus API (sd-bus on the system bus): one call of
// the object manager answers every device and DHCP4 configuration at once, and the whole read,
// from connecting to the last byte of the reply, ends at one deadline. A NetworkManager that
// holds its name but does not answer then costs the report that long, and its leases are read
// from its files instead.
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/linux/network_manager_lease.h"

// sd-bus reads and writes messages through C varargs.
// NOLINTBEGIN(cppcoreguidelines-pro-type-vararg)
namespace addrvue::linux_source {
namespace {

constexpr const char* kService = "org.freedesktop.NetworkManager";
constexpr auto kDeadline = std::chrono::milliseconds(1000);

// Whether a system bus may answer: sd-bus connects to the address the environment names, else
// to this socket, and a machine without a bus has no such socket (connecting would only fail).
bool SystemBusMayAnswer() {
  return secure_getenv("DBUS_SYSTEM_BUS_ADDRESS") != nullptr ||
         access("/run/dbus/system_bus_socket", F_OK) == 0;
}

// Nothing is flushed on closing: only a call was sent, and flushing would wait for the bus.
struct BusCloser {
  void operator()(sd_bus* bus) const { sd_bus_close_unref(bus); }
};
struct MessageReleaser {
  void operator()(sd_bus_message* message) const { sd_bus_message_unref(message); }
};
struct SlotReleaser {
  void operator()(sd_bus_slot* slot) const { sd_bus_slot_unref(slot); }
};
using Bus = std::unique_ptr<sd_bus, BusCloser>;
using Message = std::unique_ptr<sd_bus_message, MessageReleaser>;
using Slot = std::unique_ptr<sd_bus_slot, SlotReleaser>;

class Deadline {
 public:
  // Microseconds left, 0 once it has passed.
  [[nodiscard]] std::uint64_t Remaining() const {
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(
        end_ - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<std::uint64_t>(left.count()) : 0;
  }

 private:
  std::chrono::steady_clock::time_point end_ = std::chrono::steady_clock::now() + kDeadline;
};

struct PendingReply {
  bool done = false;
  Message reply;  // empty when the call failed
};

int OnReply(sd_bus_message* reply, void* userdata, sd_bus_error* /*error*/) {
  auto& pending = *static_cast<PendingReply*>(userdata);
  pending.done = true;
  if (sd_bus_message_is_method_error(reply, nullptr) == 0) {
    pending.reply.reset(sd_bus_message_ref(reply));
  }
  return 0;
}

// The reply to `call`, once the bus is up and the call answered; nothing on an error or when
// the deadline passes first.
Message CallBefore(sd_bus* bus, sd_bus_message* call, const Deadline& deadline) {
  PendingReply pending;
  sd_bus_slot* raw = nullptr;
  // The call times out with the deadline (a timeout of 0 would mean sd-bus's default of 25 s).
  const std::uint64_t timeout = std::max<std::uint64_t>(deadline.Remaining(), 1);
  if (sd_bus_call_async(bus, &raw, call, OnReply, &pending, timeout) < 0) {
    return nullptr;
  }
  const Slot slot(raw);
  while (!pending.done) {
    const std::uint64_t left = deadline.Remaining();
    if (left == 0) {
      return nullptr;
    }
    const int processed = sd_bus_process(bus, nullptr);
    if (processed < 0) {
      return nullptr;
    }
    if (processed == 0) {
      const int waited = sd_bus_wait(bus, left);
      if (waited < 0 && waited != -EINTR) {
        return nullptr;
      }
    }
  }
  return std::move(pending.reply);
}

// Every object NetworkManager has, with its interfaces and their properties; nothing when it
// does not run (it is never started for this) or does not answer in time.
Message ManagedObjects(sd_bus* bus, const Deadline& deadline) {
  sd_bus_message* raw = nullptr;
  if (sd_bus_message_new_method_call(bus, &raw, kService, "/org/freedesktop",
                                     "org.freedesktop.DBus.ObjectManager",
                                     "GetManagedObjects") < 0) {
    return nullptr;
  }
  const Message call(raw);
  if (sd_bus_message_set_auto_start(call.get(), 0) < 0) {
    return nullptr;
  }
  return CallBefore(bus, call.get(), deadline);
}

// Walks the dictionary at the reader's position, whose keys have the basic type `keyType` ('s'
// or 'o') and whose values have `valueSignature`: `onEntry` reads the value of a key, or answers
// false to have it passed over. False when the message is not such a dictionary.
bool ForEachEntry(sd_bus_message* m, char keyType, const std::string& valueSignature,
                  const std::function<bool(std::string_view key)>& onEntry) {
  const std::string entry = keyType + valueSignature;
  if (sd_bus_message_enter_container(m, 'a', ("{" + entry + "}").c_str()) <= 0) {
    return false;
  }
  int entered = 0;
  while ((entered = sd_bus_message_enter_container(m, 'e', entry.c_str())) > 0) {
    const char* key = nullptr;
    if (sd_bus_message_read_basic(m, keyType, static_cast<void*>(&key)) <= 0 || key == nullptr) {
      return false;
    }
    if (!onEntry(key) && sd_bus_message_skip(m, valueSignature.c_str()) < 0) {
      return false;
    }
    if (sd_bus_message_exit_container(m) < 0) {
      return false;
    }
  }
  return entered == 0 && sd_bus_message_exit_container(m) >= 0;
}

// The text in the variant at the reader's position when it holds the basic type `type` ('s' or
// 'o'); nothing, and the variant left unread, when it holds anything else.
std::optional<std::string> VariantText(sd_bus_message* m, char type) {
  char kind = 0;
  const char* contents = nullptr;
  const std::string signature(1, type);
  if (sd_bus_message_peek_type(m, &kind, &contents) < 0 || kind != 'v' || contents == nullptr ||
      contents != signature) {
    return std::nullopt;
  }
  const char* value = nullptr;
  if (sd_bus_message_read(m, "v", signature.c_str(), &value) < 0 || value == nullptr) {
    return std::nullopt;
  }
  return value;
}

// A DHCP4 configuration's Options property (a{sv}, every value a string; others are skipped).
std::optional<std::map<std::string, std::string>> Options(sd_bus_message* m) {
  if (sd_bus_message_enter_container(m, 'v', "a{sv}") <= 0) {
    return std::nullopt;
  }
  std::map<std::string, std::string> options;
  const bool read = ForEachEntry(m, 's', "v", [&](std::string_view name) {
    auto value = VariantText(m, 's');
    if (value) {
      options[std::string(name)] = std::move(*value);
    }
    return value.has_value();
  });
  if (!read || sd_bus_message_exit_container(m) < 0) {
    return std::nullopt;
  }
  return options;
}

struct Objects {
  std::map<std::string, std::string> interfaceOfDevice;  // by device path
  std::map<std::string, std::string> configOfDevice;     // DHCP4 configuration path, by device
  std::map<std::string, std::map<std::string, std::string>> optionsOfConfig;  // by its path
};

// One object's properties of the interfaces that tell of leases.
bool ReadObject(sd_bus_message* m, const std::string& path, Objects& objects) {
  return ForEachEntry(m, 's', "a{sv}", [&](std::string_view interface) {
    if (interface == "org.freedesktop.NetworkManager.Device") {
      return ForEachEntry(m, 's', "v", [&](std::string_view property) {
        const bool name = property == "IpInterface";
        if (!name && property != "Dhcp4Config") {
          return false;
        }
        auto value = VariantText(m, name ? 's' : 'o');
        if (value) {
          (name ? objects.interfaceOfDevice : objects.configOfDevice)[path] = std::move(*value);
        }
        return value.has_value();
      });
    }
    if (interface == "org.freedesktop.NetworkManager.DHCP4Config") {
      return ForEachEntry(m, 's', "v", [&](std::string_view property) {
        auto options = property == "Options" ? Options(m) : std::nullopt;
        if (options) {
          objects.optionsOfConfig[path] = std::move(*options);
        }
        return options.has_value();
      });
    }
    return false;
  });
}

}  // namespace

LeasesByInterface ReadNetworkManagerBus() {
  LeasesByInterface leases;
  const Deadline deadline;
  sd_bus* raw = nullptr;
  if (!SystemBusMayAnswer() || sd_bus_open_system(&raw) < 0) {
    return leases;
  }
  const Bus bus(raw);
  const Message reply = ManagedObjects(bus.get(), deadline);
  Objects objects;
  if (!reply || !ForEachEntry(reply.get(), 'o', "a{sa{sv}}", [&](std::string_view path) {
        return ReadObject(reply.get(), std::string(path), objects);
      })) {
    return leases;
  }
  for (const auto& [device, interface] : objects.interfaceOfDevice) {
    const auto config = objects.configOfDevice.find(device);
    const auto options = config == objects.configOfDevice.end()
                             ? objects.optionsOfConfig.end()
                             : objects.optionsOfConfig.find(config->second);
    if (interface.empty() || options == objects.optionsOfConfig.end()) {
      continue;
    }
    if (auto lease = LeaseFromNetworkManagerOptions(options->second)) {
      leases[interface] = std::move(*lease);
    }
  }
  return leases;
}

}  // namespace addrvue::linux_source
// NOLINTEND(cppcoreguidelines-pro-type-vararg)
