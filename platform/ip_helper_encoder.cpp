#include "platform/ip_helper_encoder.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <string_view>

#include "platform/ip_helper_layout.h"

namespace iphlp {
namespace {

namespace L = layout;

class ImageWriter {
 public:
  explicit ImageWriter(ResultImage& image) : image_(image) {}

  std::size_t Append(std::size_t size) {
    const std::size_t at = image_.bytes.size();
    image_.bytes.resize(at + size);
    return at;
  }

  void U32(std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
      image_.bytes.at(at + i) = static_cast<std::byte>((value >> (8 * i)) & 0xFFU);
    }
  }

  // Writes text into a fixed field, cut so that at least one NUL ends it.
  void Text(std::size_t at, std::size_t width, std::string_view text) {
    const std::size_t n = std::min(text.size(), width - 1);
    for (std::size_t i = 0; i < n; ++i) {
      image_.bytes.at(at + i) = static_cast<std::byte>(text[i]);
    }
  }

  void Bytes(std::size_t at, std::size_t width, const std::vector<std::uint8_t>& bytes) {
    const std::size_t n = std::min(bytes.size(), width);
    for (std::size_t i = 0; i < n; ++i) {
      image_.bytes.at(at + i) = static_cast<std::byte>(bytes[i]);
    }
  }

  void Reference(std::size_t at, std::size_t target) {
    U32(at, static_cast<std::uint32_t>(target));
    image_.references.push_back(at);
  }

  void Node(std::size_t at, const AddrString& node) {
    Text(at + L::addr::IpAddress, L::kIpStringLen, node.IpAddress);
    Text(at + L::addr::IpMask, L::kIpStringLen, node.IpMask);
    U32(at + L::addr::Context, node.Context);
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
      const std::size_t node = Append(L::addr::kSize);
      Node(node, nodes[i]);
      Reference(previous + L::addr::Next, node);
      previous = node;
    }
  }

 private:
  ResultImage& image_;
};

}  // namespace

ResultImage EncodeNetworkParams(const NetworkParams& params) {
  ResultImage image;
  ImageWriter w(image);
  const std::size_t at = w.Append(L::fixed::kSize);
  w.Text(at + L::fixed::HostName, L::kMaxHostnameLen, params.HostName);
  w.Text(at + L::fixed::DomainName, L::kMaxDomainNameLen, params.DomainName);
  w.List(at + L::fixed::DnsServerList, params.DnsServers);
  w.U32(at + L::fixed::NodeType, params.NodeType);
  w.Text(at + L::fixed::ScopeId, L::kMaxScopeIdLen, params.ScopeId);
  w.U32(at + L::fixed::EnableRouting, params.EnableRouting);
  w.U32(at + L::fixed::EnableProxy, params.EnableProxy);
  w.U32(at + L::fixed::EnableDns, params.EnableDns);
  return image;
}

ResultImage EncodeAdapters(const std::vector<AdapterInfo>& adapters) {
  ResultImage image;
  ImageWriter w(image);
  // All records come first so that each one's Next can point at the one after it.
  w.Append(adapters.size() * L::adapter::kSize);
  for (std::size_t i = 0; i < adapters.size(); ++i) {
    const AdapterInfo& a = adapters[i];
    const std::size_t at = i * L::adapter::kSize;
    if (i + 1 < adapters.size()) {
      w.Reference(at + L::adapter::Next, at + L::adapter::kSize);
    }
    w.U32(at + L::adapter::ComboIndex, a.ComboIndex);
    w.Text(at + L::adapter::AdapterName, L::kAdapterNameLen, a.AdapterName);
    w.Text(at + L::adapter::Description, L::kAdapterDescriptionLen, a.Description);
    w.U32(at + L::adapter::AddressLength,
          static_cast<std::uint32_t>(std::min(a.Address.size(), L::kAdapterAddressLen)));
    w.Bytes(at + L::adapter::Address, L::kAdapterAddressLen, a.Address);
    w.U32(at + L::adapter::Index, a.Index);
    w.U32(at + L::adapter::Type, a.Type);
    w.U32(at + L::adapter::DhcpEnabled, a.DhcpEnabled);
    w.List(at + L::adapter::IpAddressList, a.IpAddressList);
    w.List(at + L::adapter::GatewayList, a.GatewayList);
    w.Node(at + L::adapter::DhcpServer, a.DhcpServer);
    w.U32(at + L::adapter::HaveWins, a.HaveWins);
    w.Node(at + L::adapter::PrimaryWinsServer, a.PrimaryWinsServer);
    w.Node(at + L::adapter::SecondaryWinsServer, a.SecondaryWinsServer);
    w.U32(at + L::adapter::LeaseObtained, static_cast<std::uint32_t>(a.LeaseObtained));
    w.U32(at + L::adapter::LeaseExpires, static_cast<std::uint32_t>(a.LeaseExpires));
  }
  return image;
}

std::uint32_t AnswerQuery(const ResultImage& image, std::byte* buffer, std::uint32_t* size,
                          std::uint32_t referenceBase) {
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
    const std::span<std::byte, 4> field = out.subspan(at).first<4>();
    std::uint32_t offset = 0;
    std::memcpy(&offset, field.data(), field.size());
    if (offset != 0) {
      offset += referenceBase;
      std::memcpy(field.data(), &offset, field.size());
    }
  }
  *size = needed;
  return layout::kNoError;
}

}  // namespace iphlp
