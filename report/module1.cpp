#include "report/module1.h"

#include "report/adapter_report.h"
#include "report/host_report.h"
#include "report/query.h"

namespace addrvue::Module1 {
namespace {

// A reader of one of the helper's result buffers, with what the helper says it wrote.
RecordReader Reader(std::span<const std::byte> buffer, const iphlp::IpHelper& ipHelper) {
  return {buffer, ipHelper.Layout(), ipHelper.References(), ipHelper.Text()};
}

}  // namespace

void ShowNetworkInfo(ReportWindow& form, iphlp::IpHelper& ipHelper, const DateNames& dateNames) {
  const auto params =
      RunQuery(ipHelper, &iphlp::IpHelper::GetNetworkParams, u"GetNetworkParams", form);
  if (!params) {
    return;
  }
  ReportHost(Reader(*params, ipHelper), form);

  const auto adapters =
      RunQuery(ipHelper, &iphlp::IpHelper::GetAdaptersInfo, u"GetAdaptersInfo", form);
  if (!adapters) {
    return;
  }
  ReportAdapters(Reader(*adapters, ipHelper), form, dateNames);
}

}  // namespace addrvue::Module1
