// The template layer runs a program through the whole shared protocol: start, frames, posted
// events, and both ways out (the program quits, or the user closes the window).
#include "platform/template/template_platform.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/application_factory.h"
#include "framework/key_codes.h"
#include "framework/vane.h"

namespace {

struct Log {
    VTemplatePlatform* platform = nullptr;
    bool closeInstead = false;  // close the window where the key would quit
    std::vector<std::string> calls;
};
Log* log = nullptr;

// Posts its way out after its second frame.
class Leaver : public ClassVane {
  public:
    ~Leaver() override { log->calls.push_back("destroyed"); }
    int OnConfigure(VAppSettings& settings) override {
        settings.fpslimit = 0;  // the real clock: no limit, so each frame sleeps 1 ms
        return 0;
    }
    int OnFrame(ClassVScreen&, uint32_t) override {
        log->calls.push_back("frame");
        if (++frames_ != 2) return 0;
        if (log->closeInstead) {
            log->platform->PostClose();
        } else {
            log->platform->Post(VMessage{VMSG_KEYDOWN, VKEY_ESCAPE, 0, 0});
        }
        return 0;
    }
    void OnKeyDown(uint32_t key, VKeyList&) override {
        if (key == VKEY_ESCAPE) Quit();
    }
    void OnExit(uintptr_t) override { log->calls.push_back("exit"); }

  private:
    uint32_t frames_ = 0;
};

std::vector<std::string> RunLeaver(bool closeInstead) {
    VTemplatePlatform platform;
    Log l{&platform, closeInstead, {}};
    log = &l;
    VApplicationRegistration registration(&MakeApplication<Leaver>);
    EXPECT_EQ(platform.Run(u"--option"), 0u);
    log = nullptr;
    return l.calls;
}

// The program quits with a key, or the user closes the window (which ends it from inside the
// loop): either way two frames, OnExit once, the object deleted.
TEST(TemplateLayer, RunsAProgramToItsEndEitherWayOut) {
    for (bool closeInstead : {false, true}) {
        SCOPED_TRACE(closeInstead ? "closed" : "quit");
        EXPECT_EQ(RunLeaver(closeInstead),
                  (std::vector<std::string>{"frame", "frame", "exit", "destroyed"}));
    }
}

TEST(TemplateLayer, ScreenIsMemoryInTheDepthAsked) {
    VTemplateScreen screen;
    EXPECT_EQ(screen.Open(2, 1, 16, 8, 4, false, false), kScreenMethodUnsupported);
    EXPECT_EQ(screen.Open(1, 1, 12, 8, 4, false, false), kScreenCallFailed);
    ASSERT_EQ(screen.Open(1, 1, 16, 8, 4, false, false), kScreenOpened);
    const VScreenMode mode = screen.Mode();
    EXPECT_EQ(mode.bitsPerPixel, 16u);
    EXPECT_EQ(mode.greenBits, 6u);
    EXPECT_EQ(mode.yStep, 16);
    VScreenLock lock;
    ASSERT_TRUE(screen.Lock(&lock));
    EXPECT_FALSE(screen.Lock(&lock));
    lock.address[lock.pitch * 3] = 0x5A;
    screen.Unlock();
    EXPECT_EQ(screen.Pixels()[16 * 3], 0x5A);
}

}  // namespace
