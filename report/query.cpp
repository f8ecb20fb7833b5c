#include "report/query.h"

#include <string>

#include "platform/ip_helper_layout.h"
#include "report/conversions.h"

namespace addrvue {

std::optional<std::vector<std::byte>> RunQuery(iphlp::IpHelper& ipHelper, QueryCall call,
                                               std::u16string_view name, ReportWindow& form) {
  std::uint32_t size = 0;
  const std::uint32_t sizing = (ipHelper.*call)(nullptr, &size);
  // A sizing answer that asks for no bytes leaves nothing to fill or read: it is reported like
  // any other sizing failure, with the code the call gave.
  if ((sizing != iphlp::layout::kNoError && sizing != iphlp::layout::kErrorBufferOverflow) ||
      size == 0) {
    form.FailureBox(std::u16string(name) + u" sizing failed with error " +
                    SignedDecimal(static_cast<std::int32_t>(sizing)));
    return std::nullopt;
  }
  std::vector<std::byte> buffer(size);
  const std::uint32_t fill = (ipHelper.*call)(buffer.data(), &size);
  if (fill != iphlp::layout::kNoError) {
    form.FailureBox(std::u16string(name) + u" failed with error " +
                    SignedDecimal(static_cast<std::int32_t>(fill)));
    return std::nullopt;
  }
  return buffer;
}

}  // namespace addrvue
