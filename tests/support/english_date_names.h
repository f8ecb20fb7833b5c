// Date words fixed in English, as the C locale writes them, so that a transcript reads the same
// on every machine and the report's tests need no platform.
#pragma once

#include <array>
#include <string>

#include "platform/date_names.h"

namespace addrvue::testing {

class EnglishDateNames final : public DateNames {
 public:
  // at(): an index out of the named range throws, so a report that asks for one fails its test.
  [[nodiscard]] std::u16string WeekdayName(int weekday) const override {
    static constexpr std::array<const char16_t*, 7> kNames{
        u"Sunday", u"Monday", u"Tuesday", u"Wednesday", u"Thursday", u"Friday", u"Saturday"};
    return kNames.at(static_cast<std::size_t>(weekday));
  }
  [[nodiscard]] std::u16string MonthAbbreviation(int month) const override {
    static constexpr std::array<const char16_t*, 12> kNames{u"Jan", u"Feb", u"Mar", u"Apr",
                                                            u"May", u"Jun", u"Jul", u"Aug",
                                                            u"Sep", u"Oct", u"Nov", u"Dec"};
    return kNames.at(static_cast<std::size_t>(month - 1));
  }
  [[nodiscard]] std::u16string TimeSeparator() const override { return u":"; }
};

}  // namespace addrvue::testing
