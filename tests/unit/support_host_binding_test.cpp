// The host binding on Linux: a library that the process has loaded under the host library's
// soname is used; without it, or when told to use built-ins only, the built-in answers.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "helpers/loaded_module.h"
#include "support/support.h"

namespace gage {
namespace {

std::string Loaded(Support& support, unsigned id) {
    std::array<char, 64> buffer{};
    support.LangLoadString(nullptr, id, buffer.data(), buffer.size());
    return buffer.data();
}

TEST(SupportHostBindingTest, TheLoadedHostLibraryIsUsedByName) {
    {
        Support unbound;
        EXPECT_EQ(Loaded(unbound, 115), "Warning");
    }
    const test::LoadedModule fake(GAGE_FAKE_HOST_LANGUAGE);
    ASSERT_NE(fake.get(), nullptr) << fake.error();
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
