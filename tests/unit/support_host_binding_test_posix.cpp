// The host binding on Linux: a library that the process has loaded under the host library's
// soname is used; without it the built-in answers.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "support/support.h"

namespace gage {
namespace {

class LoadedLibrary {
  public:
    explicit LoadedLibrary(const char* path) : handle_(::dlopen(path, RTLD_NOW | RTLD_LOCAL)) {}
    ~LoadedLibrary() {
        if (handle_ != nullptr) {
            ::dlclose(handle_);
        }
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;
    void* get() const { return handle_; }

  private:
    void* handle_;
};

std::string Loaded(Support& support, unsigned id) {
    std::array<char, 64> buffer{};
    support.LangLoadString(nullptr, id, buffer.data(), buffer.size());
    return buffer.data();
}

TEST(SupportHostBindingTest, WithoutTheHostLibraryTheBuiltInAnswers) {
    Support support;
    EXPECT_EQ(Loaded(support, 115), "Warning");
}

TEST(SupportHostBindingTest, TheLoadedHostLibraryIsUsedByName) {
    const LoadedLibrary fake(GAGE_FAKE_HOST_LANGUAGE);
    ASSERT_NE(fake.get(), nullptr) << ::dlerror();
    using CallsFn = int (*)();
    const auto calls = reinterpret_cast<CallsFn>(::dlsym(fake.get(), "FakeHostCalls"));
    ASSERT_NE(calls, nullptr);
    const int before = calls();
    {
        Support support;
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
    }  // the Support releases its reference before the library is closed
}

}  // namespace
}  // namespace gage
