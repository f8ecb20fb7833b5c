#include "report/records_document.h"

#include <chrono>
#include <string>
#include <vector>

#include "platform/text/utf.h"
#include "report/conversions.h"
#include "report/query.h"
#include "report/record_reader.h"
#include "report/records.h"

namespace addrvue {
namespace {

using json = nlohmann::ordered_json;

// A number in decimal, with leading zeros to `width` digits.
std::string Digits(std::int64_t value, std::size_t width) {
  std::string digits = std::to_string(value);
  return std::string(width > digits.size() ? width - digits.size() : 0, '0') + digits;
}

// A text field as a display shows it, in UTF-8.
template <std::size_t Width>
std::string Text(const TextField<Width>& field) {
  return ToUtf8(ShownText(Whole(field)));
}

// Notes the text of a failed query's box; the document shows nothing else.
class FailureNote final : public ReportWindow {
 public:
  std::string text;

 protected:
  void ReplaceCaption(std::u16string_view /*text*/) override {}
  void ReplaceText1(std::u16string_view /*text*/) override {}
  void ReplaceLabelCaption(ReportLabel /*label*/, std::u16string_view /*text*/) override {}
  void ShowMessageBox(std::u16string_view /*text*/) override {}
  void ShowFailureBox(std::u16string_view failure) override { text = ToUtf8(failure); }
};

json Addresses(const std::vector<AddrStringRecord>& nodes) {
  json list = json::array();
  for (const AddrStringRecord& node : nodes) {
    list.push_back(Text(node.IpAddress));
  }
  return list;
}

json Host(const RecordReader& reader) {
  const FixedInfoRecord info = reader.FirstFixedInfo();
  return {{"HostName", Text(info.HostName)},
          {"DomainName", Text(info.DomainName)},
          {"DnsServerList",
           Addresses(ListNodes(reader, info.DnsServerList, reader.Layout().fixed.DnsServerList))},
          {"NodeType", info.NodeType},
          {"ScopeId", Text(info.ScopeId)},
          {"EnableRouting", info.EnableRouting},
          {"EnableProxy", info.EnableProxy},
          {"EnableDns", info.EnableDns}};
}

json Adapter(const RecordReader& reader, const AdapterInfoRecord& a, std::size_t offset) {
  json addresses = json::array();
  for (const AddrStringRecord& node :
       ListNodes(reader, a.IpAddressList, offset + reader.Layout().adapter.IpAddressList)) {
    addresses.push_back({{"IpAddress", Text(node.IpAddress)}, {"IpMask", Text(node.IpMask)}});
  }
  const bool dhcp = a.DhcpEnabled != 0;
  return {{"AdapterName", Text(a.AdapterName)},
          {"Description", Text(a.Description)},
          {"Address", ToUtf8(HardwareAddressText(a.AddressLength, a.Address))},
          {"Index", a.Index},
          {"Type", a.Type},
          {"DhcpEnabled", a.DhcpEnabled},
          {"IpAddressList", addresses},
          {"GatewayList", Addresses(ListNodes(reader, a.GatewayList,
                                              offset + reader.Layout().adapter.GatewayList))},
          {"DhcpServer", Text(a.DhcpServer.IpAddress)},
          {"HaveWins", a.HaveWins},
          {"PrimaryWinsServer", Text(a.PrimaryWinsServer.IpAddress)},
          {"SecondaryWinsServer", Text(a.SecondaryWinsServer.IpAddress)},
          {"LeaseObtained", LeaseTime(a.LeaseObtained, dhcp)},
          {"LeaseExpires", LeaseTime(a.LeaseExpires, dhcp)}};
}

// Every adapter, in list order, by the walk the report follows.
json Adapters(const RecordReader& reader) {
  json adapters = json::array();
  ForEachAdapter(reader, [&](const AdapterInfoRecord& adapter, std::size_t offset) {
    adapters.push_back(Adapter(reader, adapter, offset));
  });
  return adapters;
}

}  // namespace

json RecordsDocument(iphlp::IpHelper& ipHelper) {
  FailureNote failure;
  json document = {{"host", nullptr}, {"adapters", json::array()}, {"error", nullptr}};
  if (const auto params =
          RunQuery(ipHelper, &iphlp::IpHelper::GetNetworkParams, u"GetNetworkParams", failure)) {
    document["host"] = Host(RecordReader(*params, ipHelper));
    if (const auto adapters =
            RunQuery(ipHelper, &iphlp::IpHelper::GetAdaptersInfo, u"GetAdaptersInfo", failure)) {
      document["adapters"] = Adapters(RecordReader(*adapters, ipHelper));
    }
  }
  if (!failure.text.empty()) {
    document["error"] = failure.text;
  }
  return document;
}

json LeaseTime(std::int64_t seconds, bool dhcpEnabled) {
  if (!dhcpEnabled || seconds == 0) {
    return nullptr;
  }
  using namespace std::chrono;
  const sys_seconds time{std::chrono::seconds(seconds)};
  const auto day = floor<days>(time);
  const year_month_day date(day);
  const hh_mm_ss clock(time - day);
  return Digits(static_cast<int>(date.year()), 4) + "-" +
         Digits(static_cast<unsigned>(date.month()), 2) + "-" +
         Digits(static_cast<unsigned>(date.day()), 2) + "T" + Digits(clock.hours().count(), 2) +
         ":" + Digits(clock.minutes().count(), 2) + ":" + Digits(clock.seconds().count(), 2) + "Z";
}

}  // namespace addrvue
