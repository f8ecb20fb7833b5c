// Date words fixed in English, as the C locale writes them: a transcript reads the same on every
// machine, and the report's tests need no platform. An index out of range throws.
#pragma once

#include <array>
#include <string>

#include "platform/date_names.h"

namespace addrvue::testing {

class EnglishDateNames final : public DateNames {
 public:
  [[nodiscard]] std::u16string WeekdayName(int weekday) const override {
    return std::array{u"Sunday",   u"Monday", u"Tuesday", u"Wednesday",
                      u"Thursday", u"Friday", u"Saturday"}
        .at(static_cast<std::size_t>(weekday));
  }
  [[nodiscard]] std::u16string MonthAbbreviation(int month) const override {
    return std::array{u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                      u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"}
        .at(static_cast<std::size_t>(month - 1));
  }
  [[nodiscard]] std::u16string TimeSeparator() const override { return u":"; }
};

}  // namespace addrvue::testing
