// The user's locale words for writing a date: weekday and month names and the time separator.
#pragma once

#include <memory>
#include <string>

namespace addrvue {

class DateNames {
 public:
  DateNames() = default;
  DateNames(const DateNames&) = delete;
  DateNames& operator=(const DateNames&) = delete;
  DateNames(DateNames&&) = delete;
  DateNames& operator=(DateNames&&) = delete;
  virtual ~DateNames() = default;

  // weekday: 0 is Sunday ... 6 is Saturday.
  [[nodiscard]] virtual std::u16string WeekdayName(int weekday) const = 0;
  // month: 1 is January ... 12 is December.
  [[nodiscard]] virtual std::u16string MonthAbbreviation(int month) const = 0;
  [[nodiscard]] virtual std::u16string TimeSeparator() const = 0;
};

// The names of the user's locale on this platform.
std::unique_ptr<DateNames> UserDateNames();

}  // namespace addrvue
