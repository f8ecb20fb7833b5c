#include "report/record_reader.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace addrvue {
namespace {

namespace L = iphlp::layout;

// A record's bytes in the platform's layout, decoded field by field.
class Image {
 public:
  Image(std::span<const std::byte> bytes, const iphlp::AnsiCodePage& codePage)
      : bytes_(bytes), codePage_(codePage) {}

  [[nodiscard]] std::int32_t I32(std::size_t at) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
      value |= static_cast<std::uint32_t>(bytes_[at + i]) << (8 * i);
    }
    return static_cast<std::int32_t>(value);
  }

  template <std::size_t Width>
  void Text(std::size_t at, TextField<Width>& field) const {
    for (std::size_t i = 0; i < Width; ++i) {
      field[i] = codePage_[static_cast<std::uint8_t>(bytes_[at + i])];
    }
  }

  void Node(std::size_t at, AddrStringRecord& node) const {
    node.Next = I32(at + L::addr::Next);
    Text(at + L::addr::IpAddress, node.IpAddress);
    Text(at + L::addr::IpMask, node.IpMask);
    node.Context = I32(at + L::addr::Context);
  }

  [[nodiscard]] std::uint8_t Byte(std::size_t at) const {
    return static_cast<std::uint8_t>(bytes_[at]);
  }

 private:
  std::span<const std::byte> bytes_;
  const iphlp::AnsiCodePage& codePage_;
};

// Copies up to Size bytes from `from` into a zeroed record image; bytes beyond the source stay 0.
template <std::size_t Size>
std::array<std::byte, Size> CopyImage(std::span<const std::byte> from) {
  std::array<std::byte, Size> image{};
  const std::size_t n = std::min(from.size(), Size);
  std::copy_n(from.begin(), n, image.begin());
  return image;
}

FixedInfoRecord DecodeFixedInfo(std::span<const std::byte> source,
                                const iphlp::AnsiCodePage& codePage) {
  const auto bytes = CopyImage<L::fixed::kSize>(source);
  const Image image(bytes, codePage);
  FixedInfoRecord r;
  image.Text(L::fixed::HostName, r.HostName);
  image.Text(L::fixed::DomainName, r.DomainName);
  r.CurrentDnsServer = image.I32(L::fixed::CurrentDnsServer);
  image.Node(L::fixed::DnsServerList, r.DnsServerList);
  r.NodeType = image.I32(L::fixed::NodeType);
  image.Text(L::fixed::ScopeId, r.ScopeId);
  r.EnableRouting = image.I32(L::fixed::EnableRouting);
  r.EnableProxy = image.I32(L::fixed::EnableProxy);
  r.EnableDns = image.I32(L::fixed::EnableDns);
  return r;
}

AdapterInfoRecord DecodeAdapter(std::span<const std::byte> source,
                                const iphlp::AnsiCodePage& codePage) {
  const auto bytes = CopyImage<L::adapter::kSize>(source);
  const Image image(bytes, codePage);
  AdapterInfoRecord r;
  r.Next = image.I32(L::adapter::Next);
  r.ComboIndex = image.I32(L::adapter::ComboIndex);
  image.Text(L::adapter::AdapterName, r.AdapterName);
  image.Text(L::adapter::Description, r.Description);
  r.AddressLength = image.I32(L::adapter::AddressLength);
  for (std::size_t i = 0; i < r.Address.size(); ++i) {
    r.Address[i] = image.Byte(L::adapter::Address + i);
  }
  r.Index = image.I32(L::adapter::Index);
  r.Type = image.I32(L::adapter::Type);
  r.DhcpEnabled = image.I32(L::adapter::DhcpEnabled);
  r.CurrentIpAddress = image.I32(L::adapter::CurrentIpAddress);
  image.Node(L::adapter::IpAddressList, r.IpAddressList);
  image.Node(L::adapter::GatewayList, r.GatewayList);
  image.Node(L::adapter::DhcpServer, r.DhcpServer);
  r.HaveWins = image.I32(L::adapter::HaveWins);
  image.Node(L::adapter::PrimaryWinsServer, r.PrimaryWinsServer);
  image.Node(L::adapter::SecondaryWinsServer, r.SecondaryWinsServer);
  r.LeaseObtained = image.I32(L::adapter::LeaseObtained);
  r.LeaseExpires = image.I32(L::adapter::LeaseExpires);
  return r;
}

}  // namespace

FixedInfoRecord RecordReader::FirstFixedInfo() const {
  return DecodeFixedInfo(buffer_, ipHelper_.TextCodePage());
}

AdapterInfoRecord RecordReader::FirstAdapter() const {
  return DecodeAdapter(buffer_, ipHelper_.TextCodePage());
}

std::optional<std::size_t> RecordReader::Resolve(std::int32_t reference,
                                                 std::size_t recordSize) const {
  if (reference == 0) {
    return std::nullopt;
  }
  const auto offset =
      ipHelper_.OffsetOfReference(static_cast<std::uint32_t>(reference), buffer_.data());
  if (!offset || *offset > buffer_.size() || buffer_.size() - *offset < recordSize) {
    return std::nullopt;
  }
  return offset;
}

std::span<const std::byte> RecordReader::From(std::size_t offset) const {
  return offset <= buffer_.size() ? buffer_.subspan(offset) : std::span<const std::byte>{};
}

AddrStringRecord RecordReader::NodeAt(std::size_t offset) const {
  const auto bytes = CopyImage<L::addr::kSize>(From(offset));
  AddrStringRecord node;
  Image(bytes, ipHelper_.TextCodePage()).Node(0, node);
  return node;
}

AdapterInfoRecord RecordReader::AdapterAt(std::size_t offset) const {
  return DecodeAdapter(From(offset), ipHelper_.TextCodePage());
}

std::optional<std::size_t> ChainWalk::Follow(std::int32_t reference) {
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

}  // namespace addrvue
