#include "report/record_reader.h"

#include <algorithm>
#include <array>
#include <string>

namespace addrvue {
namespace {

namespace L = iphlp::layout;

// One record's bytes, copied out of the buffer as far as it reaches; the rest stays zero.
class RecordCopy {
 public:
  RecordCopy(std::span<const std::byte> from, std::size_t size) : size_(std::min(size, kMost)) {
    std::copy_n(from.begin(), std::min(from.size(), size_), bytes_.begin());
  }

  [[nodiscard]] std::span<const std::byte> Bytes() const { return std::span(bytes_).first(size_); }

 private:
  static constexpr std::size_t kMost = L::kLargestRecord;
  std::array<std::byte, kMost> bytes_{};
  std::size_t size_;
};

// A record's bytes in the writer's layout, decoded field by field.
class Image {
 public:
  Image(const RecordCopy& copy, const L::RecordLayout& layout, const iphlp::TextDecoder& text)
      : bytes_(copy.Bytes()), layout_(layout), text_(text) {}

  // A little-endian signed integer of 4 or 8 bytes, sign-extended.
  [[nodiscard]] std::int64_t Signed(std::size_t at, std::size_t width) const {
    const auto field = bytes_.subspan(at, std::clamp<std::size_t>(width, 1, 8));
    const std::uint64_t value = L::ReadLittleEndian(field);
    const std::size_t unused = 64 - 8 * field.size();
    return static_cast<std::int64_t>(value << unused) >> unused;
  }

  [[nodiscard]] std::int32_t I32(std::size_t at) const {
    return static_cast<std::int32_t>(Signed(at, 4));
  }
  [[nodiscard]] Reference Ref(std::size_t at) const { return Signed(at, layout_.pointerWidth); }
  [[nodiscard]] std::int64_t Time(std::size_t at) const { return Signed(at, layout_.timeWidth); }

  // The field's bytes up to its first NUL, decoded whole; the rest of the field is NUL.
  template <std::size_t Width>
  void Text(std::size_t at, TextField<Width>& field) const {
    const auto bytes = bytes_.subspan(at, Width);
    const auto end = std::find(bytes.begin(), bytes.end(), std::byte{0});
    const std::u16string text =
        text_.Decode(bytes.first(static_cast<std::size_t>(end - bytes.begin())));
    field.fill(u'\0');
    std::copy_n(text.begin(), std::min(text.size(), Width), field.begin());
  }

  void Node(std::size_t at, AddrStringRecord& node) const {
    node.Next = Ref(at + layout_.addr.Next);
    Text(at + layout_.addr.IpAddress, node.IpAddress);
    Text(at + layout_.addr.IpMask, node.IpMask);
    node.Context = I32(at + layout_.addr.Context);
  }

  [[nodiscard]] std::uint8_t Byte(std::size_t at) const {
    return static_cast<std::uint8_t>(bytes_[at]);
  }

 private:
  std::span<const std::byte> bytes_;
  const L::RecordLayout& layout_;
  const iphlp::TextDecoder& text_;
};

FixedInfoRecord DecodeFixedInfo(const Image& image, const L::FixedInfoFields& at) {
  FixedInfoRecord r;
  image.Text(at.HostName, r.HostName);
  image.Text(at.DomainName, r.DomainName);
  r.CurrentDnsServer = image.Ref(at.CurrentDnsServer);
  image.Node(at.DnsServerList, r.DnsServerList);
  r.NodeType = image.I32(at.NodeType);
  image.Text(at.ScopeId, r.ScopeId);
  r.EnableRouting = image.I32(at.EnableRouting);
  r.EnableProxy = image.I32(at.EnableProxy);
  r.EnableDns = image.I32(at.EnableDns);
  return r;
}

AdapterInfoRecord DecodeAdapter(const Image& image, const L::AdapterInfoFields& at) {
  AdapterInfoRecord r;
  r.Next = image.Ref(at.Next);
  r.ComboIndex = image.I32(at.ComboIndex);
  image.Text(at.AdapterName, r.AdapterName);
  image.Text(at.Description, r.Description);
  r.AddressLength = image.I32(at.AddressLength);
  for (std::size_t i = 0; i < r.Address.size(); ++i) {
    r.Address[i] = image.Byte(at.Address + i);
  }
  r.Index = image.I32(at.Index);
  r.Type = image.I32(at.Type);
  r.DhcpEnabled = image.I32(at.DhcpEnabled);
  r.CurrentIpAddress = image.Ref(at.CurrentIpAddress);
  image.Node(at.IpAddressList, r.IpAddressList);
  image.Node(at.GatewayList, r.GatewayList);
  image.Node(at.DhcpServer, r.DhcpServer);
  r.HaveWins = image.I32(at.HaveWins);
  image.Node(at.PrimaryWinsServer, r.PrimaryWinsServer);
  image.Node(at.SecondaryWinsServer, r.SecondaryWinsServer);
  r.LeaseObtained = image.Time(at.LeaseObtained);
  r.LeaseExpires = image.Time(at.LeaseExpires);
  return r;
}

// The reference's value as the unsigned pointer of the layout's width it was read from.
std::uint64_t PointerBits(Reference reference, std::size_t width) {
  const auto bits = static_cast<std::uint64_t>(reference);
  return width >= 8 ? bits : bits & ((std::uint64_t{1} << (8 * width)) - 1);
}

}  // namespace

FixedInfoRecord RecordReader::FirstFixedInfo() const {
  const RecordCopy copy(buffer_, layout_.fixed.Size);
  return DecodeFixedInfo(Image(copy, layout_, text_), layout_.fixed);
}

AdapterInfoRecord RecordReader::FirstAdapter() const {
  return AdapterAt(0);
}

std::optional<std::size_t> RecordReader::Resolve(Reference reference,
                                                 std::size_t recordSize) const {
  if (reference == 0) {
    return std::nullopt;
  }
  const auto offset =
      references_.OffsetOfReference(PointerBits(reference, layout_.pointerWidth), buffer_.data());
  if (!offset || *offset > buffer_.size() || buffer_.size() - *offset < recordSize) {
    return std::nullopt;
  }
  return offset;
}

std::span<const std::byte> RecordReader::From(std::size_t offset) const {
  return offset <= buffer_.size() ? buffer_.subspan(offset) : std::span<const std::byte>{};
}

AddrStringRecord RecordReader::NodeAt(std::size_t offset) const {
  const RecordCopy copy(From(offset), layout_.addr.Size);
  AddrStringRecord node;
  Image(copy, layout_, text_).Node(0, node);
  return node;
}

AdapterInfoRecord RecordReader::AdapterAt(std::size_t offset) const {
  const RecordCopy copy(From(offset), layout_.adapter.Size);
  return DecodeAdapter(Image(copy, layout_, text_), layout_.adapter);
}

std::optional<std::size_t> ChainWalk::Follow(Reference reference) {
  const std::size_t mostSteps = reader_.Size() / recordSize_ + 1;
  if (visited_.size() > mostSteps) {
    return std::nullopt;
  }
  const auto offset = reader_.Resolve(reference, recordSize_);
  if (!offset || std::find(visited_.begin(), visited_.end(), *offset) != visited_.end()) {
    return std::nullopt;
  }
  visited_.push_back(*offset);
  return offset;
}

std::vector<AddrStringRecord> ListNodes(const RecordReader& reader, const AddrStringRecord& first,
                                        std::size_t firstOffset) {
  std::vector<AddrStringRecord> nodes{first};
  ChainWalk walk(reader, reader.Layout().addr.Size, firstOffset);
  while (const auto offset = walk.Follow(nodes.back().Next)) {
    nodes.push_back(reader.NodeAt(*offset));
  }
  return nodes;
}

void ForEachAdapter(const RecordReader& reader,
                    const std::function<void(const AdapterInfoRecord&, std::size_t)>& visit) {
  ChainWalk walk(reader, reader.Layout().adapter.Size, 0);
  std::size_t offset = 0;
  AdapterInfoRecord adapter = reader.FirstAdapter();
  while (true) {
    visit(adapter, offset);
    const auto next = walk.Follow(adapter.Next);
    if (!next) {
      return;
    }
    offset = *next;
    adapter = reader.AdapterAt(offset);
  }
}

}  // namespace addrvue
