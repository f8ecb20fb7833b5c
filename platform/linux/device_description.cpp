#include "platform/linux/device_description.h"

#include <cctype>
#include <string>

namespace addrvue::linux_source {
namespace {

// "0x8086\n" -> "8086".
std::string HexId(std::string_view text) {
  text = Trim(text);
  if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
  }
  std::string id;
  for (const char c : text) {
    id += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return id;
}

bool StartsWithId(std::string_view line, std::string_view id) {
  return line.size() > id.size() && EqualsIgnoringCase(line.substr(0, id.size()), id) &&
         (line[id.size()] == ' ' || line[id.size()] == '\t');
}

std::string Join(const std::string& vendor, const std::string& model) {
  if (vendor.empty()) {
    return model;
  }
  return model.empty() ? vendor : vendor + " " + model;
}

// The name of a vendor and of one of its devices in pci.ids / usb.ids text; nothing when the
// vendor is not listed. The model is empty when only the vendor is.
struct HardwareName {
  std::string vendor;
  std::string model;
};

std::optional<HardwareName> LookUpHardwareName(std::string_view idsText, std::string_view vendorId,
                                               std::string_view deviceId) {
  if (vendorId.empty()) {
    return std::nullopt;
  }
  std::optional<HardwareName> found;
  for (const std::string_view line : Lines(idsText)) {
    if (line.empty() || line.front() == '#') {
      continue;
    }
    if (!found) {
      if (line.front() != '\t' && StartsWithId(line, vendorId)) {
        found = HardwareName{std::string(Trim(line.substr(vendorId.size()))), {}};
      }
      continue;
    }
    if (line.front() != '\t') {
      break;  // the next vendor
    }
    if (line.size() > 1 && line[1] != '\t' && StartsWithId(line.substr(1), deviceId)) {
      found->model = std::string(Trim(line.substr(1 + deviceId.size())));
      break;
    }
  }
  return found;
}

// Vendor and model from a udev database entry ("E:ID_VENDOR_FROM_DATABASE=...").
std::optional<std::string> UdevDescription(std::string_view udevEntry) {
  std::string vendor;
  std::string model;
  for (const std::string_view line : Lines(udevEntry)) {
    constexpr std::string_view kVendor = "E:ID_VENDOR_FROM_DATABASE=";
    constexpr std::string_view kModel = "E:ID_MODEL_FROM_DATABASE=";
    if (line.starts_with(kVendor)) {
      vendor = std::string(Trim(line.substr(kVendor.size())));
    } else if (line.starts_with(kModel)) {
      model = std::string(Trim(line.substr(kModel.size())));
    }
  }
  if (vendor.empty() && model.empty()) {
    return std::nullopt;
  }
  return Join(vendor, model);
}

}  // namespace

const std::string& DeviceReader::IdsTable(const std::string& bus) {
  auto it = idsTables_.find(bus);
  if (it == idsTables_.end()) {
    const std::string file = bus + ".ids";
    auto text = ReadFileText(root_.Path("/usr/share/misc/" + file));
    if (!text) {
      text = ReadFileText(root_.Path("/usr/share/hwdata/" + file));
    }
    it = idsTables_.emplace(bus, text.value_or("")).first;
  }
  return it->second;
}

DeviceFacts DeviceReader::Read(const LinkEntry& link) {
  DeviceFacts facts;
  if (link.parentDevice.empty()) {
    facts.description = link.kind;
    return facts;
  }
  const std::string sysDir = root_.Path("/sys/class/net/" + link.name);
  facts.wireless = PathExists(sysDir + "/wireless") || PathExists(sysDir + "/phy80211");
  if (const auto entry =
          ReadFileText(root_.Path("/run/udev/data/n" + std::to_string(link.index)))) {
    if (auto description = UdevDescription(*entry)) {
      facts.description = std::move(*description);
      return facts;
    }
  }
  const std::string device = sysDir + "/device";
  if (auto description = IdsDescription(device, link.parentBus)) {
    facts.description = std::move(*description);
  } else if (auto driver = LinkTargetName(device + "/driver")) {
    facts.description = std::move(*driver);
  }
  return facts;
}

std::optional<std::string> DeviceReader::IdsDescription(const std::string& device,
                                                        const std::string& bus) {
  // A USB network interface's parent is a USB interface; the ids are on its USB device.
  const bool usb = bus == "usb";
  if (!usb && bus != "pci") {
    return std::nullopt;
  }
  const auto vendor = ReadFileText(device + (usb ? "/../idVendor" : "/vendor"), 64);
  const auto model = ReadFileText(device + (usb ? "/../idProduct" : "/device"), 64);
  if (!vendor || !model) {
    return std::nullopt;
  }
  const auto name = LookUpHardwareName(IdsTable(bus), HexId(*vendor), HexId(*model));
  if (!name) {
    return std::nullopt;
  }
  return Join(name->vendor, name->model);
}

}  // namespace addrvue::linux_source
