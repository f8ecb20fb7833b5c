// What a real network device is called: its vendor and model from the udev database or from the
// hardware id tables, else its driver's name. Only devices with a parent device are looked at.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/linux/netlink_messages.h"
#include "platform/linux/system_files.h"

namespace addrvue::linux_source {

struct DeviceFacts {
  std::string description;  // UTF-8; empty when nothing names the device
  bool wireless = false;
};

class DeviceReader {
 public:
  explicit DeviceReader(SystemRoot root) : root_(std::move(root)) {}

  // Reads the files of one interface; virtual links (no parent device) are only named after
  // their driver kind, from the dump.
  DeviceFacts Read(const LinkEntry& link);

 private:
  const std::string& IdsTable(const std::string& bus);
  // The vendor and model that the ids table of the device's bus ("pci", "usb") names.
  std::optional<std::string> IdsDescription(const std::string& device, const std::string& bus);

  SystemRoot root_;
  std::map<std::string, std::string> idsTables_;  // read once per bus, when first needed
};

}  // namespace addrvue::linux_source
