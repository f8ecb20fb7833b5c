#include "report/adapter_report.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "report/conversions.h"
#include "report/report_step.h"

namespace addrvue {
namespace {

namespace L = iphlp::layout;

// The text that names each adapter type; every other type is named "Other".
struct TypeText {
  std::int32_t type;
  std::u16string_view text;
};
constexpr std::array kTypeTexts{
    TypeText{L::adapter_type::kEthernet, u"Adapter : Ethernet "},
    TypeText{L::adapter_type::kTokenRing, u"Adapter name: Token Ring adapter "},
    TypeText{L::adapter_type::kFddi, u"Adapter name: FDDI adapter "},
    TypeText{L::adapter_type::kPpp, u"Adapter name: PPP adapter"},
    TypeText{L::adapter_type::kLoopback, u"Adapter name: Loopback adapter "},
    TypeText{L::adapter_type::kSlip, u"Adapter name: Slip adapter "},
};

std::u16string_view AdapterTypeText(std::int32_t type) {
  const auto* named = std::ranges::find(kTypeTexts, type, &TypeText::type);
  return named != kTypeTexts.end() ? named->text : u"Adapter name: Other adapter ";
}

class AdapterItems {
 public:
  AdapterItems(const RecordReader& reader, ReportWindow& form, const DateNames& dateNames,
               std::size_t recordOffset)
      : reader_(reader), form_(form), dateNames_(dateNames), recordOffset_(recordOffset) {}

  void Report(const AdapterInfoRecord& adapter) {
    ReportType(adapter.Type);
    Step(form_, Join(u" адаптер: ", Whole(adapter.Description)), u"");
    ReportHardwareAddress(adapter);
    Step(form_, adapter.DhcpEnabled != 0 ? u"DHCP включен " : u"DHCP отключен ", u"");
    ReportAddresses(adapter);
    ReportGateways(adapter);
    form_.MsgBox(Join(u"DHCP Server: ", Whole(adapter.DhcpServer.IpAddress)));
    ReportWinsServers(adapter);
    form_.MsgBox(Join(u"Lease Obtained: ", LeaseDateText(adapter.LeaseObtained, dateNames_)));
    form_.MsgBox(Join(u"Lease Expires :  ", LeaseDateText(adapter.LeaseExpires, dateNames_)));
  }

 private:
  void ReportType(std::int32_t type) {
    if (type == L::adapter_type::kEthernet) {
      Step(form_, AdapterTypeText(type), u" ");
    } else {
      form_.MsgBox(AdapterTypeText(type));
    }
  }

  void ReportHardwareAddress(const AdapterInfoRecord& adapter) {
    const std::u16string hardwareAddress =
        HardwareAddressText(adapter.AddressLength, adapter.Address);
    form_.SetText1(Join(u"Физический адрес компьютера: ", hardwareAddress));
    form_.SetLabelCaption(ReportLabel::Label3, hardwareAddress);
    form_.MsgBox(u" ");
  }

  void ReportAddresses(const AdapterInfoRecord& adapter) {
    const std::u16string address = Join(u"IP Address: ", Whole(adapter.IpAddressList.IpAddress));
    form_.SetText1(address);
    form_.SetLabelCaption(ReportLabel::Label4,
                          Join(u"IP Addr: ", Whole(adapter.IpAddressList.IpAddress)));
    form_.MsgBox(address);

    const std::u16string mask = Join(u"маска сети: ", Whole(adapter.IpAddressList.IpMask));
    form_.SetText1(mask);
    form_.SetLabelCaption(ReportLabel::Label5, mask);
    form_.MsgBox(u" ");

    if (adapter.IpAddressList.Next != 0) {
      WalkList(adapter.IpAddressList, reader_.Layout().adapter.IpAddressList,
               [this](const AddrStringRecord& n) {
                 form_.MsgBox(Join(u"IP Address: ", Whole(n.IpAddress)));
                 form_.MsgBox(Join(u"Subnet Mask: ", Whole(n.IpMask)));
               });
    }
  }

  void ReportGateways(const AdapterInfoRecord& adapter) {
    form_.SetText1(Join(u"Точка входа : ", Whole(adapter.GatewayList.IpAddress)));
    form_.SetLabelCaption(ReportLabel::Label6,
                          Join(u"Точка входа: ", Whole(adapter.GatewayList.IpAddress)));
    form_.MsgBox(u"");

    if (adapter.GatewayList.Next != 0) {
      WalkList(adapter.GatewayList, reader_.Layout().adapter.GatewayList,
               [this](const AddrStringRecord& n) {
                 form_.MsgBox(Join(u"IP Address: ", Whole(n.IpAddress)));
               });
    }
  }

  void ReportWinsServers(const AdapterInfoRecord& adapter) {
    ReportWinsServer(adapter.PrimaryWinsServer, u"Primary WINS Server: ", ReportLabel::Label7,
                     u"Prim WINS Serv: ");
    ReportWinsServer(adapter.SecondaryWinsServer, u"Secondary WINS Server: ", ReportLabel::Label8,
                     u"SecWINS Serv: ");
  }

  // Text1 and a box show the server under its caption, its label under the short caption.
  void ReportWinsServer(const AddrStringRecord& server, std::u16string_view caption,
                        ReportLabel label, std::u16string_view shortCaption) {
    const std::u16string text = Join(caption, Whole(server.IpAddress));
    form_.SetText1(text);
    form_.SetLabelCaption(label, Join(shortCaption, Whole(server.IpAddress)));
    form_.MsgBox(text);
  }

  // Shows every node of a list whose first node is embedded in the adapter record, that first
  // node included, and each node its Next leads to.
  template <typename ShowNode>
  void WalkList(const AddrStringRecord& first, std::size_t listField, ShowNode showNode) {
    for (const AddrStringRecord& node : ListNodes(reader_, first, recordOffset_ + listField)) {
      showNode(node);
    }
  }

  const RecordReader& reader_;
  ReportWindow& form_;
  const DateNames& dateNames_;
  std::size_t recordOffset_;
};

}  // namespace

void ReportAdapters(const RecordReader& reader, ReportWindow& form, const DateNames& dateNames) {
  ForEachAdapter(reader, [&](const AdapterInfoRecord& adapter, std::size_t offset) {
    AdapterItems(reader, form, dateNames, offset).Report(adapter);
  });
}

}  // namespace addrvue
