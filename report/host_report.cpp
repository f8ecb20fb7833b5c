#include "report/host_report.h"

#include <string>

#include "report/conversions.h"
#include "report/report_step.h"

namespace addrvue {
namespace {

namespace L = iphlp::layout;

void ReportDnsServers(const RecordReader& reader, const FixedInfoRecord& info, ReportWindow& form) {
  const L::RecordLayout& layout = reader.Layout();
  ChainWalk walk(reader, layout.addr.Size, layout.fixed.DnsServerList);
  Reference nodeAddress = info.DnsServerList.Next;
  while (nodeAddress != 0) {
    const auto offset = walk.Follow(nodeAddress);
    if (!offset) {
      break;
    }
    const AddrStringRecord node = reader.NodeAt(*offset);
    const std::u16string line = Join(u"DNS Servers:  ", Whole(node.IpAddress));
    form.MsgBox(line);
    form.SetText1(line);
    nodeAddress = node.Next;
  }
}

void ReportNodeType(std::int32_t nodeType, ReportWindow& form) {
  switch (nodeType) {
    case L::node_type::kBroadcast:
      form.MsgBox(u"Node type: Broadcast");
      break;
    case L::node_type::kPeerToPeer:
      form.MsgBox(u"Node type: Peer to peer");
      break;
    case L::node_type::kMixed:
      form.MsgBox(u"Node type: Mixed");
      break;
    case L::node_type::kHybrid:
      form.MsgBox(u"Node type: Hybrid");
      break;
    default:
      Step(form, u"НЕИЗВЕСТНЫЙ  УЗЕЛ", u"Unknown node type");
      break;
  }
}

}  // namespace

void ReportHost(const RecordReader& reader, ReportWindow& form) {
  const FixedInfoRecord info = reader.FirstFixedInfo();

  Step(form, Join(u"ИМЯ КОМПЬЮТЕРА:  ", Whole(info.HostName)));
  form.SetLabelCaption(ReportLabel::Label2, Whole(info.HostName));
  form.SetCaption(Whole(info.HostName));

  Step(form, Join(u"DNS СЕРВИС---:  ", Whole(info.DnsServerList.IpAddress)));
  form.SetLabelCaption(ReportLabel::Label3, Whole(info.DnsServerList.IpAddress));

  // The reference itself, as a signed number at the layout's pointer width.
  Step(form, SignedDecimal(info.DnsServerList.Next));
  ReportDnsServers(reader, info, form);
  ReportNodeType(info.NodeType, form);

  Step(form, Join(u"NetBIOS ИДЕНТИФИКАЦИЯ:  ", Whole(info.ScopeId)), u" ");

  if (info.EnableRouting != 0) {
    Step(form, u"ЕСТЬ ПОДКЛЮЧЕНИЕ", u"IP Routing Enabled ");
  } else {
    Step(form, u"НЕТ ПОДКЛЮЧЕНИЯ", u"");
  }
  Step(form, info.EnableProxy != 0 ? u"WINS Proxy Enabled " : u"WINS Proxy not Enabled ", u"");
  if (info.EnableDns != 0) {
    Step(form, u"NetBIOS использует DNS", u" ");
  } else {
    Step(form, u"NetBIOS не использует DNS", u"  ");
  }
}

}  // namespace addrvue
