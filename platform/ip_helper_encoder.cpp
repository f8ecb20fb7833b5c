#include "platform/ip_helper_encoder.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <span>
#include <stdexcept>
#include <string_view>

namespace iphlp {
namespace {

namespace L = layout;

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

// Lays one answer into a byte range: records first, further list nodes after them. Every region
// it takes is zeroed before its fields are written, so the range needs no zeroing beforehand, and
// every byte of the answer is written. References are written as base + the offset they lead to,
// and where they are is noted when asked.
class ImageWriter {
 public:
  ImageWriter(std::span<std::byte> out, const L::RecordLayout& layout, std::uint64_t base,
              std::vector<std::size_t>* references)
      : out_(out), l_(layout), base_(base), references_(references) {}

  // Takes the next `size` bytes of the range, not yet zeroed.
  std::size_t Reserve(std::size_t size) {
    if (out_.size() - end_ < size) {
      throw std::out_of_range("an answer larger than its measured size");
    }
    const std::size_t at = end_;
    end_ += size;
    return at;
  }
  void Zero(std::size_t at, std::size_t size) {
    std::fill_n(out_.subspan(at, size).begin(), size, std::byte{0});
  }
  std::size_t Append(std::size_t size) {
    const std::size_t at = Reserve(size);
    Zero(at, size);
    return at;
  }

  void Integer(std::size_t at, std::size_t width, std::uint64_t value) {
    L::WriteLittleEndian(out_.subspan(at, width), value);
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
                   out_.subspan(at, n).begin(), [](char c) { return static_cast<std::byte>(c); });
  }

  void Bytes(std::size_t at, std::size_t width, std::span<const std::uint8_t> bytes) {
    const std::size_t n = std::min(bytes.size(), width);
    std::transform(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n),
                   out_.subspan(at, n).begin(),
                   [](std::uint8_t b) { return static_cast<std::byte>(b); });
  }

  void Reference(std::size_t at, std::size_t target) {
    Integer(at, l_.pointerWidth, base_ + target);
    if (references_ != nullptr) {
      references_->push_back(at);
    }
  }

  void Node(std::size_t at, const AddrString& node) {
    Text(at + l_.addr.IpAddress, L::kIpStringLen, node.IpAddress);
    Text(at + l_.addr.IpMask, L::kIpStringLen, node.IpMask);
    U32(at + l_.addr.Context, node.Context);
  }

  // Writes a list whose first node is embedded at `at`; further nodes are appended and chained
  // from it. An empty list is one empty node.
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
    U32(at + f.AddressLength, static_cast<std::uint32_t>(a.Address.size()));
    Bytes(at + f.Address, L::kAdapterAddressLen, a.Address.Bytes());
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

  void NetworkParams(const iphlp::NetworkParams& params) {
    const L::FixedInfoFields& f = l_.fixed;
    const std::size_t at = Append(f.Size);
    Text(at + f.HostName, L::kMaxHostnameLen, params.HostName);
    Text(at + f.DomainName, L::kMaxDomainNameLen, params.DomainName);
    List(at + f.DnsServerList, params.DnsServers);
    U32(at + f.NodeType, params.NodeType);
    Text(at + f.ScopeId, L::kMaxScopeIdLen, params.ScopeId);
    U32(at + f.EnableRouting, params.EnableRouting);
    U32(at + f.EnableProxy, params.EnableProxy);
    U32(at + f.EnableDns, params.EnableDns);
  }

  // All records come first so that each one's Next can point at the one after it. Each record
  // is zeroed just before it is written, while its bytes are at hand.
  void Adapters(const std::vector<AdapterInfo>& adapters) {
    const std::size_t size = l_.adapter.Size;
    Reserve(adapters.size() * size);
    for (std::size_t i = 0; i < adapters.size(); ++i) {
      const std::size_t at = i * size;
      Zero(at, size);
      if (i + 1 < adapters.size()) {
        Reference(at + l_.adapter.Next, at + size);
      }
      Adapter(at, adapters[i]);
    }
  }

 private:
  std::span<std::byte> out_;
  const L::RecordLayout& l_;
  std::uint64_t base_;
  std::vector<std::size_t>* references_;
  std::size_t end_ = 0;
};

// The nodes a list needs beyond the one embedded in its record.
std::size_t FurtherNodes(const std::vector<AddrString>& list) {
  return list.empty() ? 0 : list.size() - 1;
}

template <typename Answer, typename Write>
ResultImage ImageOf(const Answer& answer, const L::RecordLayout& layout, std::size_t size,
                    Write write) {
  ResultImage image;
  image.layout = &layout;
  image.bytes.resize(size);
  ImageWriter writer(image.bytes, layout, 0, &image.references);
  (writer.*write)(answer);
  return image;
}

}  // namespace

void WriteInteger(ResultImage& image, std::size_t at, std::size_t width, std::uint64_t value) {
  if (at > image.bytes.size() || image.bytes.size() - at < width) {
    throw std::out_of_range("an integer field past the end of a result image");
  }
  L::WriteLittleEndian(std::span(image.bytes).subspan(at, width), value);
}

std::size_t NetworkParamsSize(const NetworkParams& params, const L::RecordLayout& layout) {
  return layout.fixed.Size + FurtherNodes(params.DnsServers) * layout.addr.Size;
}

std::size_t AdaptersSize(const std::vector<AdapterInfo>& adapters, const L::RecordLayout& layout) {
  std::size_t nodes = 0;
  for (const AdapterInfo& a : adapters) {
    nodes += FurtherNodes(a.IpAddressList) + FurtherNodes(a.GatewayList);
  }
  return adapters.size() * layout.adapter.Size + nodes * layout.addr.Size;
}

void WriteNetworkParams(const NetworkParams& params, const L::RecordLayout& layout,
                        std::span<std::byte> out, std::uint64_t referenceBase) {
  ImageWriter(out, layout, referenceBase, nullptr).NetworkParams(params);
}

void WriteAdapters(const std::vector<AdapterInfo>& adapters, const L::RecordLayout& layout,
                   std::span<std::byte> out, std::uint64_t referenceBase) {
  ImageWriter(out, layout, referenceBase, nullptr).Adapters(adapters);
}

ResultImage EncodeNetworkParams(const NetworkParams& params, const L::RecordLayout& layout) {
  return ImageOf(params, layout, NetworkParamsSize(params, layout), &ImageWriter::NetworkParams);
}

ResultImage EncodeAdapters(const std::vector<AdapterInfo>& adapters,
                           const L::RecordLayout& layout) {
  return ImageOf(adapters, layout, AdaptersSize(adapters, layout), &ImageWriter::Adapters);
}

std::uint32_t AnswerSizedQuery(std::size_t needed, std::byte* buffer, std::uint32_t* size,
                               const std::function<void(std::span<std::byte>)>& write) {
  if (size == nullptr) {
    return layout::kErrorInvalidParameter;
  }
  if (needed == 0) {
    return layout::kErrorNoData;
  }
  const auto bytes = static_cast<std::uint32_t>(needed);
  if (buffer == nullptr || *size < bytes) {
    *size = bytes;
    return layout::kErrorBufferOverflow;
  }
  write(std::span<std::byte>(buffer, needed));
  *size = bytes;
  return layout::kNoError;
}

std::uint32_t AnswerQuery(const ResultImage& image, std::byte* buffer, std::uint32_t* size,
                          std::uint64_t referenceBase) {
  return AnswerSizedQuery(image.bytes.size(), buffer, size, [&](std::span<std::byte> out) {
    std::copy(image.bytes.begin(), image.bytes.end(), out.begin());
    for (const std::size_t at : image.references) {
      const std::size_t width = image.layout->pointerWidth;
      if (at > out.size() || out.size() - at < width) {
        continue;  // a field the image was cut short of
      }
      const auto field = out.subspan(at, width);
      const std::uint64_t offset = L::ReadLittleEndian(field);
      if (offset != 0) {
        L::WriteLittleEndian(field, referenceBase + offset);
      }
    }
  });
}

}  // namespace iphlp
