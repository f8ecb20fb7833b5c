#include "report/host_report.h"

#include <iterator>
#include <string>
#include <vector>

#include "report/conversions.h"
#include "report/report_step.h"

namespace addrvue {
namespace {

namespace L = iphlp::layout;

// The servers after the first, which the host items show on their own.
void ReportDnsServers(const RecordReader& reader, const FixedInfoRecord& info, ReportWindow& form) {
  const std::vector<AddrStringRecord> servers =
      ListNodes(reader, info.DnsServerList, reader.Layout().fixed.DnsServerList);
  for (auto node = std::next(servers.begin()); node != servers.end(); ++node) {
    const std::u16string line = Join(u"DNS Servers:  ", Whole(node->IpAddress));
    form.MsgBox(line);
    form.SetText1(line);
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
