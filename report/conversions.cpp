#include "report/conversions.h"

#include <algorithm>
#include <cstdint>

namespace addrvue {
namespace {

std::u16string Digits(std::int64_t value, int minimumWidth) {
  std::u16string digits;
  const bool negative = value < 0;
  std::uint64_t magnitude =
      negative ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  while (static_cast<int>(digits.size()) < minimumWidth) {
    digits.insert(digits.begin(), u'0');
  }
  if (negative) {
    digits.insert(digits.begin(), u'-');
  }
  return digits;
}

struct CivilDate {
  std::int64_t year;
  int month;  // 1..12
  int day;    // 1..31
};

// The proleptic Gregorian date of a day counted from 1970-01-01 (day 0).
CivilDate CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const auto dayOfEra = static_cast<std::int64_t>(days - era * 146097);
  const std::int64_t yearOfEra =
      (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const std::int64_t shiftedMonth = (5 * dayOfYear + 2) / 153;  // March is 0
  const auto day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
  const auto month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
  const std::int64_t year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

}  // namespace

std::u16string SignedDecimal(std::int64_t value) {
  return Digits(value, 1);
}

std::u16string HardwareAddressText(std::int32_t length, const std::array<std::uint8_t, 8>& bytes) {
  constexpr std::u16string_view kHex = u"0123456789ABCDEF";
  const auto count = static_cast<std::size_t>(std::clamp<std::int32_t>(length, 0, 8));
  std::u16string text;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t b = bytes.at(i);
    if (b >= 0x10) {
      text += kHex[b >> 4U];
    }
    text += kHex[b & 0x0FU];
    if (i + 1 < count) {
      text += u'-';
    }
  }
  return text;
}

std::u16string LeaseDateText(std::int64_t seconds, const DateNames& names) {
  constexpr std::int64_t kSecondsPerDay = 86400;
  const std::int64_t total = seconds;
  std::int64_t days = total / kSecondsPerDay;
  std::int64_t secondOfDay = total % kSecondsPerDay;
  if (secondOfDay < 0) {
    secondOfDay += kSecondsPerDay;
    --days;
  }
  const CivilDate date = CivilFromDays(days);
  // 1970-01-01 was a Thursday (4).
  const auto weekday = static_cast<int>(((days % 7) + 7 + 4) % 7);
  const std::u16string separator = names.TimeSeparator();

  std::u16string text = names.WeekdayName(weekday);
  text += u", ";
  text += names.MonthAbbreviation(date.month);
  text += u' ';
  text += Digits(date.day, 1);
  text += u' ';
  text += Digits(secondOfDay / 3600, 2);
  text += separator;
  text += Digits(secondOfDay / 60 % 60, 2);
  text += separator;
  text += Digits(secondOfDay % 60, 2);
  text += u' ';
  text += Digits(date.year, 4);
  return text;
}

}  // namespace addrvue
