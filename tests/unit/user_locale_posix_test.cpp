// The user's decimal separator is learned without touching the process locale.

#include <gtest/gtest.h>

#include <locale.h>
#include <clocale>
#include <cstdlib>

#include "entry/user_locale.h"
#include "helpers/scoped_environment.h"

namespace gage {
namespace {

TEST(UserLocale, ADecimalCommaLocaleGivesACommaAndLeavesTheProcessLocaleAlone) {
    const char* german = "de_DE.UTF-8";
    const locale_t installed = ::newlocale(LC_ALL_MASK, german, static_cast<locale_t>(nullptr));
    if (installed == static_cast<locale_t>(nullptr)) {
        GTEST_SKIP() << german << " is not installed (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    }
    ::freelocale(installed);
    const test::ScopedEnvironment all("LC_ALL", german);
    const UserLocale user = QueryUserLocale();
    EXPECT_EQ(user.decimalSeparator, ',');
    EXPECT_EQ(user.name, german);
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
}

TEST(UserLocale, AnUnknownLocaleGivesAPoint) {
    const test::ScopedEnvironment all("LC_ALL", "xx_NOWHERE.bogus");
    const UserLocale user = QueryUserLocale();
    EXPECT_EQ(user.decimalSeparator, '.');
    EXPECT_EQ(user.name, "C");
}

}  // namespace
}  // namespace gage
