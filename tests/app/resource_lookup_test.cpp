#include "app/resource_lookup.h"

#include <gtest/gtest.h>

namespace {
const uint8_t kBytes[] = {7, 8, 9};
const VResource kEntries[] = {{"IMAGES", 108, kBytes, 3}};
const VResourceModule kModule{kEntries, 1};
const VResourceModule kEmptyModule{nullptr, 0};
}  // namespace

TEST(LookUpResource, ReturnsTheResourceBytes) {
    const VResourceData found = LookUpResource(&kModule, "IMAGES", 108);
    EXPECT_EQ(found.data, kBytes);
    EXPECT_EQ(found.size, 3u);
}

// A missing resource must end the process with the user-facing message and exit code -1
// (255 as the operating system reports it), whatever is missing from where.
TEST(LookUpResourceDeathTest, MissingResourceEndsTheProgram) {
    // Forked rather than re-executed: under an emulator (the ARM build) a re-executed child
    // would be started without it. The process has no other threads to lose in the fork.
    GTEST_FLAG_SET(death_test_style, "fast");
    struct Case {
        const VResourceModule* module;
        const char* type;
        uint32_t id;
    };
    const Case cases[] = {
        {&kModule, "IMAGES", 109},  // right type, wrong id
        {&kModule, "WAVE", 108},    // right id, wrong type
        {&kEmptyModule, "PTMOD", 117},
        {nullptr, "IMAGES", 108},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.id);
        EXPECT_EXIT(LookUpResource(c.module, c.type, c.id), testing::ExitedWithCode(255),
                    "Fatal Error: Ошибка загрузки данных из ресурса");
    }
}
