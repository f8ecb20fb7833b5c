// Numbers, hardware addresses and lease dates as the report writes them, at the edges of their
// ranges that the scripted machines do not reach.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "report/conversions.h"
#include "tests/support/english_date_names.h"

namespace addrvue {
namespace {

constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

TEST(Conversions, WriteTheWholeRangeOfEachField) {
  EXPECT_EQ(SignedDecimal(kMin), u"-2147483648");
  EXPECT_EQ(SignedDecimal(kMax), u"2147483647");
  const std::array<std::uint8_t, 8> bytes{0x00, 0x1B, 0x2A, 0x0A, 0xFF, 0x01, 0x10, 0xEE};
  EXPECT_EQ(HardwareAddressText(8, bytes), u"0-1B-2A-A-FF-1-10-EE");
  // A length the field cannot hold reads no further than its 8 bytes; a negative one reads none.
  EXPECT_EQ(HardwareAddressText(20, bytes), u"0-1B-2A-A-FF-1-10-EE");
  EXPECT_EQ(HardwareAddressText(-3, bytes), u"");
  const testing::EnglishDateNames names;
  EXPECT_EQ(LeaseDateText(-1, names), u"Wednesday, Dec 31 23:59:59 1969");
  EXPECT_EQ(LeaseDateText(951782400, names), u"Tuesday, Feb 29 00:00:00 2000");
  EXPECT_EQ(LeaseDateText(kMax, names), u"Tuesday, Jan 19 03:14:07 2038");
  EXPECT_EQ(LeaseDateText(kMin, names), u"Friday, Dec 13 20:45:52 1901");
}

}  // namespace
}  // namespace addrvue
