// Date words from the user's locale settings (GetLocaleInfoW).
#include <windows.h>

#include <memory>
#include <string>

#include "platform/date_names.h"

namespace addrvue {
namespace {

std::u16string LocaleItem(LCTYPE item) {
  const int length = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, nullptr, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  const int written = GetLocaleInfoW(LOCALE_USER_DEFAULT, item, text.data(), length);
  if (written <= 0) {
    return {};
  }
  text.resize(static_cast<std::size_t>(written) - 1);  // the count includes the closing NUL
  return {text.begin(), text.end()};
}

class Win32DateNames final : public DateNames {
 public:
  // The locale numbers its days from Monday (LOCALE_SDAYNAME1) to Sunday (LOCALE_SDAYNAME7).
  [[nodiscard]] std::u16string WeekdayName(int weekday) const override {
    const int fromMonday = (weekday + 6) % 7;
    return LocaleItem(static_cast<LCTYPE>(LOCALE_SDAYNAME1 + fromMonday));
  }
  [[nodiscard]] std::u16string MonthAbbreviation(int month) const override {
    return LocaleItem(static_cast<LCTYPE>(LOCALE_SABBREVMONTHNAME1 + month - 1));
  }
  [[nodiscard]] std::u16string TimeSeparator() const override { return LocaleItem(LOCALE_STIME); }
};

}  // namespace

std::unique_ptr<DateNames> UserDateNames() {
  return std::make_unique<Win32DateNames>();
}

}  // namespace addrvue
