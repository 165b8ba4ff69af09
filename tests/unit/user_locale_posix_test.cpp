// The user's decimal separator is learned without touching the process locale.

#include <gtest/gtest.h>

#include <locale.h>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "entry/user_locale.h"

namespace gage {
namespace {

class ScopedVariable {
  public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            previous_ = old;
        }
        ::setenv(name, value, 1);
    }
    ~ScopedVariable() {
        if (previous_) {
            ::setenv(name_, previous_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
    }

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

bool LocaleInstalled(const char* name) {
    const locale_t locale = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
    if (locale == static_cast<locale_t>(nullptr)) {
        return false;
    }
    ::freelocale(locale);
    return true;
}

TEST(UserLocale, ADecimalCommaLocaleGivesACommaAndLeavesTheProcessLocaleAlone) {
    const char* german = "de_DE.UTF-8";
    if (!LocaleInstalled(german)) {
        GTEST_SKIP() << german << " is not installed (localedef -i de_DE -f UTF-8 de_DE.UTF-8)";
    }
    const ScopedVariable all("LC_ALL", german);
    const UserLocale user = QueryUserLocale();
    EXPECT_EQ(user.decimalSeparator, ',');
    EXPECT_EQ(user.name, german);
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_EQ(std::strtod("2.5", nullptr), 2.5);
}

TEST(UserLocale, NoOrAnUnknownLocaleGivesAPoint) {
    {
        const ScopedVariable all("LC_ALL", "C");
        EXPECT_EQ(QueryUserLocale().decimalSeparator, '.');
    }
    const ScopedVariable all("LC_ALL", "xx_NOWHERE.bogus");
    const UserLocale user = QueryUserLocale();
    EXPECT_EQ(user.decimalSeparator, '.');
    EXPECT_EQ(user.name, "C");
}

}  // namespace
}  // namespace gage
