#include "platform/ip_helper_encoder.h"

#include <algorithm>
#include <limits>
#include <span>
#include <stdexcept>
#include <string_view>

namespace iphlp {
namespace {

namespace L = layout;

void PutLittleEndian(std::span<std::byte> field, std::uint64_t value) {
  for (std::size_t i = 0; i < field.size(); ++i) {
    field[i] = static_cast<std::byte>((value >> (8 * i)) & 0xFFU);
  }
}

std::uint64_t GetLittleEndian(std::span<const std::byte> field) {
  std::uint64_t value = 0;
  for (std::size_t i = 0; i < field.size(); ++i) {
    value |= static_cast<std::uint64_t>(field[i]) << (8 * i);
  }
  return value;
}

// The longest start of `text` that fits `room` bytes without cutting a UTF-8 character.
std::size_t CutAtCharacter(std::string_view text, std::size_t room) {
  if (text.size() <= room) {
    return text.size();
  }
  std::size_t n = room;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0U) == 0x80U) {
    --n;  // text[n] continues the character that starts before it
  }
  return n;
}

// A lease time as the layout's time_t holds it: clamped to 32 bits in the 32-bit layout.
std::int64_t TimeOfWidth(std::int64_t seconds, std::size_t width) {
  if (width >= 8) {
    return seconds;
  }
  return std::clamp<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::min(),
                                  std::numeric_limits<std::int32_t>::max());
}

class ImageWriter {
 public:
  ImageWriter(ResultImage& image, const L::RecordLayout& layout) : image_(image), l_(layout) {
    image_.layout = &layout;
  }

  std::size_t Append(std::size_t size) {
    const std::size_t at = image_.bytes.size();
    image_.bytes.resize(at + size);
    return at;
  }

  void Integer(std::size_t at, std::size_t width, std::uint64_t value) {
    WriteInteger(image_, at, width, value);
  }
  void U32(std::size_t at, std::uint32_t value) { Integer(at, 4, value); }
  void Time(std::size_t at, std::int64_t seconds) {
    Integer(at, l_.timeWidth, static_cast<std::uint64_t>(TimeOfWidth(seconds, l_.timeWidth)));
  }

  // Writes text into a fixed field, cut so that at least one NUL ends it and no character is
  // split.
  void Text(std::size_t at, std::size_t width, std::string_view text) {
    const std::size_t n = CutAtCharacter(text, width - 1);
    std::transform(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(n),
                   std::span(image_.bytes).subspan(at, n).begin(),
                   [](char c) { return static_cast<std::byte>(c); });
  }

  void Bytes(std::size_t at, std::size_t width, const std::vector<std::uint8_t>& bytes) {
    const std::size_t n = std::min(bytes.size(), width);
    for (std::size_t i = 0; i < n; ++i) {
      image_.bytes.at(at + i) = static_cast<std::byte>(bytes[i]);
    }
  }

  void Reference(std::size_t at, std::size_t target) {
    Integer(at, l_.pointerWidth, target);
    image_.references.push_back(at);
  }

  void Node(std::size_t at, const AddrString& node) {
    Text(at + l_.addr.IpAddress, L::kIpStringLen, node.IpAddress);
    Text(at + l_.addr.IpMask, L::kIpStringLen, node.IpMask);
    U32(at + l_.addr.Context, node.Context);
  }

  // Writes a list whose first node is embedded at `at`; further nodes are appended to the image
  // and chained from it. An empty list is one empty node.
  void List(std::size_t at, const std::vector<AddrString>& nodes) {
    if (nodes.empty()) {
      return;
    }
    Node(at, nodes.front());
    std::size_t previous = at;
    for (std::size_t i = 1; i < nodes.size(); ++i) {
      const std::size_t node = Append(l_.addr.Size);
      Node(node, nodes[i]);
      Reference(previous + l_.addr.Next, node);
      previous = node;
    }
  }

  void Adapter(std::size_t at, const AdapterInfo& a) {
    const L::AdapterInfoFields& f = l_.adapter;
    U32(at + f.ComboIndex, a.ComboIndex);
    Text(at + f.AdapterName, L::kAdapterNameLen, a.AdapterName);
    Text(at + f.Description, L::kAdapterDescriptionLen, a.Description);
    U32(at + f.AddressLength,
        static_cast<std::uint32_t>(std::min(a.Address.size(), L::kAdapterAddressLen)));
    Bytes(at + f.Address, L::kAdapterAddressLen, a.Address);
    U32(at + f.Index, a.Index);
    U32(at + f.Type, a.Type);
    U32(at + f.DhcpEnabled, a.DhcpEnabled);
    List(at + f.IpAddressList, a.IpAddressList);
    List(at + f.GatewayList, a.GatewayList);
    Node(at + f.DhcpServer, a.DhcpServer);
    U32(at + f.HaveWins, a.HaveWins);
    Node(at + f.PrimaryWinsServer, a.PrimaryWinsServer);
    Node(at + f.SecondaryWinsServer, a.SecondaryWinsServer);
    Time(at + f.LeaseObtained, a.LeaseObtained);
    Time(at + f.LeaseExpires, a.LeaseExpires);
  }

 private:
  ResultImage& image_;
  const L::RecordLayout& l_;
};

}  // namespace

void WriteInteger(ResultImage& image, std::size_t at, std::size_t width, std::uint64_t value) {
  if (at > image.bytes.size() || image.bytes.size() - at < width) {
    throw std::out_of_range("an integer field past the end of a result image");
  }
  PutLittleEndian(std::span(image.bytes).subspan(at, width), value);
}

ResultImage EncodeNetworkParams(const NetworkParams& params, const L::RecordLayout& layout) {
  ResultImage image;
  ImageWriter w(image, layout);
  const L::FixedInfoFields& f = layout.fixed;
  const std::size_t at = w.Append(f.Size);
  w.Text(at + f.HostName, L::kMaxHostnameLen, params.HostName);
  w.Text(at + f.DomainName, L::kMaxDomainNameLen, params.DomainName);
  w.List(at + f.DnsServerList, params.DnsServers);
  w.U32(at + f.NodeType, params.NodeType);
  w.Text(at + f.ScopeId, L::kMaxScopeIdLen, params.ScopeId);
  w.U32(at + f.EnableRouting, params.EnableRouting);
  w.U32(at + f.EnableProxy, params.EnableProxy);
  w.U32(at + f.EnableDns, params.EnableDns);
  return image;
}

ResultImage EncodeAdapters(const std::vector<AdapterInfo>& adapters,
                           const L::RecordLayout& layout) {
  ResultImage image;
  ImageWriter w(image, layout);
  const std::size_t size = layout.adapter.Size;
  // All records come first so that each one's Next can point at the one after it.
  w.Append(adapters.size() * size);
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    const std::size_t at = i * size;
    if (i + 1 < adapters.size()) {
      w.Reference(at + layout.adapter.Next, at + size);
    }
    w.Adapter(at, adapters[i]);
  }
  return image;
}

std::uint32_t AnswerQuery(const ResultImage& image, std::byte* buffer, std::uint32_t* size,
                          std::uint64_t referenceBase) {
  if (size == nullptr) {
    return layout::kErrorInvalidParameter;
  }
  if (image.bytes.empty()) {
    return layout::kErrorNoData;
  }
  const auto needed = static_cast<std::uint32_t>(image.bytes.size());
  if (buffer == nullptr || *size < needed) {
    *size = needed;
    return layout::kErrorBufferOverflow;
  }
  const std::span<std::byte> out(buffer, needed);
  std::copy(image.bytes.begin(), image.bytes.end(), out.begin());
  for (const std::size_t at : image.references) {
    const std::size_t width = image.layout->pointerWidth;
    if (at > needed || needed - at < width) {
      continue;  // a field the image was cut short of
    }
    const auto field = out.subspan(at, width);
    const std::uint64_t offset = GetLittleEndian(field);
    if (offset != 0) {
      PutLittleEndian(field, referenceBase + offset);
    }
  }
  *size = needed;
  return layout::kNoError;
}

}  // namespace iphlp
