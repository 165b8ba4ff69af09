// The host binding: a library that the process has loaded under the host library's name (on
// Windows its module name, the string function found by ordinal; elsewhere its soname) is used;
// without it, or when told to use built-ins only, the built-in answers.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "helpers/loaded_module.h"
#include "support/support.h"

namespace gage {
namespace {

#ifdef _WIN32
// Beside the test program, exporting LangLoadString by ordinal only.
constexpr const char* kFakeHostLanguage = "tqxLanguage.dll";
#else
constexpr const char* kFakeHostLanguage = GAGE_FAKE_HOST_LANGUAGE;
#endif

std::string Loaded(Support& support, unsigned id) {
    std::array<char, 64> buffer{};
    support.LangLoadString(nullptr, id, buffer.data(), buffer.size());
    return buffer.data();
}

TEST(SupportHostBindingTest, TheLoadedHostLibraryIsUsed) {
    {
        Support unbound;
        EXPECT_EQ(Loaded(unbound, 115), "Warning");
    }
    const test::LoadedModule fake(kFakeHostLanguage);
    ASSERT_NE(fake.get(), nullptr) << fake.error();
#ifdef _WIN32
    ASSERT_EQ(fake.Find<void (*)()>("LangLoadString"), nullptr) << "exported by name";
#endif
    const auto calls = fake.Find<int (*)()>("FakeHostCalls");
    ASSERT_NE(calls, nullptr);
    const int before = calls();
    Support support;  // released before the library is closed
    EXPECT_EQ(Loaded(support, 115), "host string 115");
    EXPECT_EQ(support.LoadString(120), "host string 120");
    EXPECT_EQ(calls(), before + 2);
    // Operations of libraries the host has not loaded stay built in.
    EXPECT_EQ(support.MathRound(2.675, 2), 2.68);
    support.UseBuiltInsOnly(true);
    EXPECT_EQ(Loaded(support, 115), "Warning");
    EXPECT_EQ(calls(), before + 2);
    support.UseBuiltInsOnly(false);
    EXPECT_EQ(Loaded(support, 1), "host string 1");
}

}  // namespace
}  // namespace gage
