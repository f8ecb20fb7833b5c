#include "report/module1.h"

#include "report/adapter_report.h"
#include "report/host_report.h"
#include "report/query.h"

namespace addrvue::Module1 {

void ShowNetworkInfo(ReportWindow& form, iphlp::IpHelper& ipHelper, const DateNames& dateNames) {
  const auto params =
      RunQuery(ipHelper, &iphlp::IpHelper::GetNetworkParams, u"GetNetworkParams", form);
  if (!params) {
    return;
  }
  ReportHost(RecordReader(*params, ipHelper), form);

  const auto adapters =
      RunQuery(ipHelper, &iphlp::IpHelper::GetAdaptersInfo, u"GetAdaptersInfo", form);
  if (!adapters) {
    return;
  }
  ReportAdapters(RecordReader(*adapters, ipHelper), form, dateNames);
}

}  // namespace addrvue::Module1
