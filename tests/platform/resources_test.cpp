#include "platform/resources.h"

#include <gtest/gtest.h>

namespace {
const uint8_t kBytes[] = {1, 2, 3};
const VResource kEntries[] = {{"IMAGES", 105, kBytes, 3}, {"WAVE", 105, kBytes + 1, 2}};
const VResourceModule kModule{kEntries, 2};
}  // namespace

TEST(FindResource, MatchesTypeAndId) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    ASSERT_TRUE(FindResource(&kModule, "WAVE", 105, &data, &size));
    EXPECT_EQ(data, kBytes + 1);
    EXPECT_EQ(size, 2u);
    EXPECT_FALSE(FindResource(&kModule, "IMAGES", 106, &data, &size));
    EXPECT_FALSE(FindResource(&kModule, "images", 105, &data, &size));
    EXPECT_FALSE(FindResource(nullptr, "IMAGES", 105, &data, &size));
    EXPECT_EQ(data, kBytes + 1) << "a failed lookup leaves the outputs alone";
}
