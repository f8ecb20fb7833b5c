// Date words from the C library's locale data for the user's LC_TIME.
#include <iconv.h>
#include <langinfo.h>
#include <locale.h>  // NOLINT(modernize-deprecated-headers): newlocale is POSIX, not in <clocale>
#include <time.h>    // NOLINT(modernize-deprecated-headers): strftime_l

#include <ctime>

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "platform/date_names.h"
#include "platform/text/utf.h"

namespace addrvue {
namespace {

struct LocaleDeleter {
  void operator()(locale_t locale) const { freelocale(locale); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleDeleter>;

struct IconvCloser {
  void operator()(iconv_t cd) const { iconv_close(cd); }
};

class LinuxDateNames final : public DateNames {
 public:
  explicit LinuxDateNames(const char* name)
      : locale_(newlocale(LC_TIME_MASK | LC_CTYPE_MASK, name, nullptr)) {
    if (!locale_) {
      locale_.reset(newlocale(LC_TIME_MASK | LC_CTYPE_MASK, "C", nullptr));
    }
  }

  [[nodiscard]] std::u16string WeekdayName(int weekday) const override {
    return Item(static_cast<nl_item>(DAY_1 + weekday));
  }
  [[nodiscard]] std::u16string MonthAbbreviation(int month) const override {
    return Item(static_cast<nl_item>(ABMON_1 + month - 1));
  }
  // glibc keeps no separator of its own: write 01:02:03 in the locale's time format and take
  // what stands between the hour and the minute.
  [[nodiscard]] std::u16string TimeSeparator() const override {
    if (!locale_) {
      return u":";
    }
    std::tm clock{};
    clock.tm_hour = 1;
    clock.tm_min = 2;
    clock.tm_sec = 3;
    std::array<char, 128> out{};
    const std::size_t n = strftime_l(out.data(), out.size(), nl_langinfo_l(T_FMT, locale_.get()),
                                     &clock, locale_.get());
    const std::string_view written(out.data(), n);
    const std::size_t hour = written.find("01");
    const std::size_t minute = written.find("02", hour == std::string_view::npos ? 0 : hour + 2);
    if (hour == std::string_view::npos || minute == std::string_view::npos || minute == hour + 2) {
      return u":";
    }
    return ToUtf16(written.substr(hour + 2, minute - hour - 2));
  }

 private:
  [[nodiscard]] std::u16string Item(nl_item item) const {
    if (!locale_) {
      return {};
    }
    return ToUtf16(nl_langinfo_l(item, locale_.get()));
  }

  // Locale data comes in the locale's own character set.
  [[nodiscard]] std::u16string ToUtf16(std::string_view text) const {
    const std::string_view codeset = nl_langinfo_l(CODESET, locale_.get());
    if (codeset == "UTF-8" || codeset == "ANSI_X3.4-1968") {
      return FromUtf8(text);
    }
    const iconv_t cd = iconv_open("UTF-8", std::string(codeset).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) {  // NOLINT(performance-no-int-to-ptr)
      return FromUtf8(text);
    }
    const std::unique_ptr<void, IconvCloser> closer(cd);
    std::string in(text);
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      return FromUtf8(text);
    }
    out.resize(out.size() - outLeft);
    return FromUtf8(out);
  }

  LocaleHandle locale_;
};

}  // namespace

std::unique_ptr<DateNames> UserDateNames() {
  return std::make_unique<LinuxDateNames>("");
}

}  // namespace addrvue
