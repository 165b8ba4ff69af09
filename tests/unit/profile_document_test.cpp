#include <gtest/gtest.h>

#include <string>

#include "config/profile_document.h"

namespace gage::profile::detail {
namespace {

// A key written twice by hand: deleting it must take every copy, or the older value would come
// back as soon as the first is gone.
TEST(ProfileDocumentTest, RemovingAKeyRemovesEveryDuplicateOfIt) {
    ProfileDocument document =
        ProfileDocument::Parse("[Gage]\nPort=1\nport = 2\nOther=x\nPORT=3\n[Next]\nPort=9\n");
    ASSERT_TRUE(document.RemoveKey("gage", "Port"));
    EXPECT_EQ(document.Find("Gage", "Port"), nullptr);
    const std::string text = document.Serialize();
    EXPECT_EQ(text.find("=2"), std::string::npos) << text;
    EXPECT_EQ(text.find("=3"), std::string::npos) << text;
    EXPECT_NE(text.find("Port=9"), std::string::npos) << text;  // other sections keep theirs
}

}  // namespace
}  // namespace gage::profile::detail
