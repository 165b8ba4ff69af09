#pragma once
// The user's locale, learned without changing the process locale: a plug-in must leave its host's
// locale alone (user_locale_posix.cpp / user_locale_win32.cpp).

#include <string>

namespace gage {

struct UserLocale {
    std::string name = "C";       // the user's default locale, "C" when there is none
    char decimalSeparator = '.';  // "." when the locale gives none
};

UserLocale QueryUserLocale();

}  // namespace gage
