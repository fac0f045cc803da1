// The web layer's double click and double tap: a second press of the same button, soon and
// near enough, is a double press; anything else starts afresh.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/web/double_press.h"

namespace {

struct Press {
    uint32_t button;
    int32_t x, y;
    uint32_t time;
    bool twice;
};

struct Case {
    const char* name;
    std::vector<Press> presses;
};

TEST(WebDoublePress, TellsASecondPressSoonAndNear) {
    constexpr uint32_t kLimit = VDoublePress::kDoublePressMs;
    constexpr int32_t kNear = VDoublePress::kDoublePressDistance;
    const Case cases[] = {
        {"soon and on the spot", {{0, 10, 10, 1000, false}, {0, 10, 10, 1200, true}}},
        {"at the time limit", {{0, 10, 10, 1000, false}, {0, 10, 10, 1000 + kLimit, true}}},
        {"just too late", {{0, 10, 10, 1000, false}, {0, 10, 10, 1001 + kLimit, false}}},
        {"at the distance limit",
         {{0, 10, 10, 1000, false}, {0, 10 - kNear, 10 + kNear, 1100, true}}},
        {"just too far across", {{0, 10, 10, 1000, false}, {0, 11 + kNear, 10, 1100, false}}},
        {"just too far down", {{0, 10, 10, 1000, false}, {0, 10, 9 - kNear, 1100, false}}},
        {"another button", {{0, 10, 10, 1000, false}, {1, 10, 10, 1100, false}}},
        {"a third press starts afresh",
         {{0, 10, 10, 1000, false},
          {0, 10, 10, 1100, true},
          {0, 10, 10, 1200, false},
          {0, 10, 10, 1300, true}}},
        {"a late press arms the next",
         {{0, 10, 10, 1000, false}, {0, 10, 10, 2000, false}, {0, 10, 10, 2100, true}}},
        {"the clock wraps between them",
         {{0, 10, 10, 0xFFFFFF00u, false}, {0, 10, 10, 0x00000010u, true}}},
        {"coordinates far apart do not overflow",
         {{0, INT32_MIN, 0, 1000, false}, {0, INT32_MAX, 0, 1100, false}}},
    };
    for (const Case& c : cases) {
        VDoublePress press;
        for (size_t i = 0; i < c.presses.size(); ++i) {
            const Press& p = c.presses[i];
            EXPECT_EQ(press.Press(p.button, p.x, p.y, p.time), p.twice)
                << c.name << ", press " << i;
        }
    }
}

}  // namespace
