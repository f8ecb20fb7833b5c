// Date words of a named locale, for callers that must not depend on the user's settings.
#pragma once

#include <memory>

#include "platform/date_names.h"

namespace addrvue {

// The names of locale `name` ("C", "ru_RU.UTF-8"); the C locale's when it is not installed.
std::unique_ptr<DateNames> DateNamesFor(const char* name);
// Whether locale `name` is installed.
bool LocaleInstalled(const char* name);

}  // namespace addrvue
