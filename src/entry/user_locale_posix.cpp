#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <cstring>

#include "entry/user_locale.h"

namespace gage {

namespace {

// The name the C library gives the user's numeric locale: the first of LC_ALL, LC_NUMERIC and
// LANG that is set, as setlocale(LC_NUMERIC, "") would choose it.
std::string NumericLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') {
            return value;
        }
    }
    return "C";
}

}  // namespace

UserLocale QueryUserLocale() {
    UserLocale user;
    // A locale object of its own, never installed: the process locale stays as the host left it.
    locale_t locale = ::newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        locale = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    }
    if (locale == static_cast<locale_t>(nullptr)) {
        return user;  // the environment names no installed locale: "C"
    }
    user.name = NumericLocaleName();
    const char* radix = ::nl_langinfo_l(RADIXCHAR, locale);
    // A separator of more than one byte (a multibyte character) cannot stand in one char.
    if (radix != nullptr && std::strlen(radix) == 1) {
        user.decimalSeparator = radix[0];
    }
    ::freelocale(locale);
    return user;
}

}  // namespace gage
