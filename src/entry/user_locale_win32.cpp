#include <windows.h>

#include <array>

#include "entry/user_locale.h"

namespace gage {

namespace {

std::string UserLocaleInfo(LCTYPE type) {
    std::array<char, 128> text{};
    const int length =
        GetLocaleInfoA(LOCALE_USER_DEFAULT, type, text.data(), static_cast<int>(text.size()));
    return length > 1 ? std::string(text.data()) : std::string();
}

}  // namespace

UserLocale QueryUserLocale() {
    UserLocale user;
    // The name in the form the C run-time library reports for the user's default locale,
    // e.g. "German_Germany.1252".
    const std::string language = UserLocaleInfo(LOCALE_SENGLANGUAGE);
    const std::string country = UserLocaleInfo(LOCALE_SENGCOUNTRY);
    const std::string codePage = UserLocaleInfo(LOCALE_IDEFAULTANSICODEPAGE);
    if (!language.empty() && !country.empty()) {
        user.name = language + "_" + country + (codePage.empty() ? "" : "." + codePage);
    }
    const std::string separator = UserLocaleInfo(LOCALE_SDECIMAL);
    if (!separator.empty()) {
        user.decimalSeparator = separator[0];
    }
    return user;
}

}  // namespace gage
