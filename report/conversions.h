// The conversions the report's texts need: numbers, hardware addresses and lease dates.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/date_names.h"

namespace addrvue {

// A signed number in decimal: a minus sign only when negative, no leading zeros.
std::u16string SignedDecimal(std::int64_t value);

// The first `length` bytes of a hardware address (none when length is not positive, at most the
// 8 the field holds), each in capital hexadecimal without a leading zero, joined by "-".
std::u16string HardwareAddressText(std::int32_t length, const std::array<std::uint8_t, 8>& bytes);

// A lease time, read as signed seconds (of either time_t width) after 1970-01-01 00:00:00 with no
// time-zone conversion, written as "dddd, mmm d hh:mm:ss yyyy" with the locale's names and time
// separator.
std::u16string LeaseDateText(std::int64_t seconds, const DateNames& names);

}  // namespace addrvue
