// Numbers, hardware addresses and lease dates as the report writes them.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/linux/date_names_linux.h"
#include "report/conversions.h"

namespace addrvue {
namespace {

TEST(SignedDecimal, WritesTheWholeRangeWithoutPadding) {
  EXPECT_EQ(SignedDecimal(0), u"0");
  EXPECT_EQ(SignedDecimal(584), u"584");
  EXPECT_EQ(SignedDecimal(-1), u"-1");
  EXPECT_EQ(SignedDecimal(std::numeric_limits<std::int32_t>::min()), u"-2147483648");
  EXPECT_EQ(SignedDecimal(std::numeric_limits<std::int32_t>::max()), u"2147483647");
}

TEST(HardwareAddressText, CapitalHexWithoutLeadingZerosJoinedByDashes) {
  const std::array<std::uint8_t, 8> bytes{0x00, 0x1B, 0x2A, 0x0A, 0xFF, 0x01, 0x10, 0xEE};
  EXPECT_EQ(HardwareAddressText(6, bytes), u"0-1B-2A-A-FF-1");
  EXPECT_EQ(HardwareAddressText(0, bytes), u"");
  EXPECT_EQ(HardwareAddressText(1, bytes), u"0");
  EXPECT_EQ(HardwareAddressText(8, bytes), u"0-1B-2A-A-FF-1-10-EE");
  // A length the field cannot hold reads no further than its 8 bytes; a negative one reads none.
  EXPECT_EQ(HardwareAddressText(20, bytes), u"0-1B-2A-A-FF-1-10-EE");
  EXPECT_EQ(HardwareAddressText(-3, bytes), u"");
}

TEST(LeaseDateText, CountsSignedSecondsFrom1970InUniversalTime) {
  const auto names = DateNamesFor("C");
  EXPECT_EQ(LeaseDateText(0, *names), u"Thursday, Jan 1 00:00:00 1970");
  EXPECT_EQ(LeaseDateText(-1, *names), u"Wednesday, Dec 31 23:59:59 1969");
  EXPECT_EQ(LeaseDateText(951782400, *names), u"Tuesday, Feb 29 00:00:00 2000");
  EXPECT_EQ(LeaseDateText(std::numeric_limits<std::int32_t>::max(), *names),
            u"Tuesday, Jan 19 03:14:07 2038");
  EXPECT_EQ(LeaseDateText(std::numeric_limits<std::int32_t>::min(), *names),
            u"Friday, Dec 13 20:45:52 1901");
}

TEST(LeaseDateText, TakesNamesAndSeparatorFromTheLocale) {
  if (!LocaleInstalled("ru_RU.UTF-8")) {
    GTEST_SKIP()
        << "locale ru_RU.UTF-8 is not installed (scripts/test generates it with localedef)";
  }
  const auto names = DateNamesFor("ru_RU.UTF-8");
  EXPECT_EQ(LeaseDateText(0, *names), u"Четверг, янв 1 00:00:00 1970");
}

}  // namespace
}  // namespace addrvue
