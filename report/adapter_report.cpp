#include "report/adapter_report.h"

#include <string>

#include "report/conversions.h"
#include "report/report_step.h"

namespace addrvue {
namespace {

namespace L = iphlp::layout;

std::u16string_view AdapterTypeText(std::int32_t type) {
  switch (type) {
    case L::adapter_type::kEthernet:
      return u"Adapter : Ethernet ";
    case L::adapter_type::kTokenRing:
      return u"Adapter name: Token Ring adapter ";
    case L::adapter_type::kFddi:
      return u"Adapter name: FDDI adapter ";
    case L::adapter_type::kPpp:
      return u"Adapter name: PPP adapter";
    case L::adapter_type::kLoopback:
      return u"Adapter name: Loopback adapter ";
    case L::adapter_type::kSlip:
      return u"Adapter name: Slip adapter ";
    default:
      return u"Adapter name: Other adapter ";
  }
}

class AdapterItems {
 public:
  AdapterItems(const RecordReader& reader, ReportWindow& form, const DateNames& dateNames,
               std::size_t recordOffset)
      : reader_(reader), form_(form), dateNames_(dateNames), recordOffset_(recordOffset) {}

  void Report(AdapterInfoRecord& adapter) {
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

  void ReportAddresses(AdapterInfoRecord& adapter) {
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

  void ReportGateways(AdapterInfoRecord& adapter) {
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
    const std::u16string primary =
        Join(u"Primary WINS Server: ", Whole(adapter.PrimaryWinsServer.IpAddress));
    form_.SetText1(primary);
    form_.SetLabelCaption(ReportLabel::Label7,
                          Join(u"Prim WINS Serv: ", Whole(adapter.PrimaryWinsServer.IpAddress)));
    form_.MsgBox(primary);

    const std::u16string secondary =
        Join(u"Secondary WINS Server: ", Whole(adapter.SecondaryWinsServer.IpAddress));
    form_.SetText1(secondary);
    form_.SetLabelCaption(ReportLabel::Label8,
                          Join(u"SecWINS Serv: ", Whole(adapter.SecondaryWinsServer.IpAddress)));
    form_.MsgBox(secondary);
  }

  // Shows every node of a list whose first node is embedded in the adapter record, that first
  // node included; each further node is copied over the embedded one before it is shown.
  template <typename ShowNode>
  void WalkList(AddrStringRecord& list, std::size_t listField, ShowNode showNode) {
    ChainWalk walk(reader_, reader_.Layout().addr.Size, recordOffset_ + listField);
    Reference nodeAddress = list.Next;
    while (nodeAddress != 0) {
      const AddrStringRecord node = list;
      showNode(node);
      nodeAddress = node.Next;
      if (nodeAddress == 0) {
        break;
      }
      const auto offset = walk.Follow(nodeAddress);
      if (!offset) {
        break;
      }
      list = reader_.NodeAt(*offset);
    }
  }

  const RecordReader& reader_;
  ReportWindow& form_;
  const DateNames& dateNames_;
  std::size_t recordOffset_;
};

}  // namespace

void ReportAdapters(const RecordReader& reader, ReportWindow& form, const DateNames& dateNames) {
  ChainWalk walk(reader, reader.Layout().adapter.Size, 0);
  std::size_t offset = 0;
  AdapterInfoRecord current = reader.FirstAdapter();
  while (true) {
    AdapterInfoRecord working = current;
    AdapterItems(reader, form, dateNames, offset).Report(working);
    const auto next = walk.Follow(working.Next);
    if (!next) {
      break;
    }
    offset = *next;
    current = reader.AdapterAt(offset);
  }
}

}  // namespace addrvue
