// The host binding on Windows: a module the process has loaded under the host library's name is
// used through its ordinal; without it the built-in answers.

#include <windows.h>

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "helpers/loaded_module.h"
#include "support/support.h"

namespace gage {
namespace {

// The stand-in library sits beside the test program; it exports LangLoadString only by ordinal.
struct FakeHostLanguage : test::LoadedModule {
    FakeHostLanguage() : LoadedModule("tqxLanguage.dll") {}
    int Calls() const {
        const auto calls = Find<int (*)()>("FakeHostCalls");
        return calls != nullptr ? calls() : -1;
    }
};

std::string Loaded(Support& support, unsigned id) {
    std::array<char, 64> buffer{};
    support.LangLoadString(nullptr, id, buffer.data(), buffer.size());
    return buffer.data();
}

TEST(SupportHostBindingWin32Test, TheLoadedHostLibraryIsUsedByOrdinal) {
    {
        ASSERT_EQ(::GetModuleHandleA("tqxLanguage.dll"), nullptr);
        Support unbound;  // without the host library the built-in answers
        EXPECT_EQ(Loaded(unbound, 115), "Warning");
    }
    const FakeHostLanguage fake;
    ASSERT_NE(fake.get(), nullptr) << "tqxLanguage.dll beside the test program";
    ASSERT_EQ(fake.Find<void (*)()>("LangLoadString"), nullptr) << "exported by name";
    const int before = fake.Calls();
    Support support;
    EXPECT_EQ(Loaded(support, 115), "host string 115");
    EXPECT_EQ(support.LoadString(3421), "host string 3421");
    EXPECT_EQ(fake.Calls(), before + 2);
    // Libraries the host has not loaded stay built in.
    EXPECT_EQ(support.MathRound(1.005, 2), 1.01);

    support.UseBuiltInsOnly(true);
    EXPECT_EQ(Loaded(support, 115), "Warning");
    EXPECT_EQ(fake.Calls(), before + 2);
}

TEST(SupportModuleStringsWin32Test, StringsComeFromTheModulesStringTable) {
    const FakeHostLanguage other;
    ASSERT_NE(other.get(), nullptr);
    Support support(other.get());
    support.UseBuiltInsOnly(true);
    EXPECT_EQ(support.LoadString(120), "undefined in the module");
    EXPECT_EQ(support.LoadString(4001), "only in the module");
    std::array<char, 10> buffer{};
    EXPECT_EQ(support.LangLoadString(other.get(), 4001, buffer.data(), buffer.size()), 9);
    EXPECT_STREQ(buffer.data(), "only in t");
    // Ids the module lacks come from the compiled-in copy of the library's table.
    EXPECT_EQ(support.LoadString(115), "Warning");
    EXPECT_EQ(support.LoadString(4002), "");
    // The test program has no string table at all.
    Support own;
    own.UseBuiltInsOnly(true);
    EXPECT_EQ(own.LoadString(120), "undefined");
}

}  // namespace
}  // namespace gage
