// The system output's routes: a speaker opened on HSS_OUTPUT_SYSTEM goes where the program's
// starter chose, and the file route writes exactly the frames its clock has reached.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "hss/hss.h"
#include "hss/system_output.h"
#include "tests/hss/test_data.h"

namespace {

using hsstest::ReadFile;

std::string TempPath(const char* name) {
    const char* dir = std::getenv("TMPDIR");
    return std::string(dir ? dir : "/tmp") + "/hss_route_" + std::to_string(::getpid()) + "_" +
           name;
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

// Every test leaves the route as a program finds it.
class SystemOutputRoute : public testing::Test {
  protected:
    void TearDown() override { hssRouteSystemOutput(hssSystemRoute::Device); }
};

TEST_F(SystemOutputRoute, FileFollowsTheClockToTheFrame) {
    const std::string path = TempPath("clock.wav");
    ASSERT_TRUE(hssRouteSystemOutput(hssSystemRoute::File, path.c_str()));
    hssSpeaker speaker;
    ASSERT_EQ(speaker.open(22050, 16, true, 1, HSS_OUTPUT_SYSTEM), HSS_OK);
    // Advancing to a time: the frames due up to it, rounded down; a time reached or passed
    // writes nothing more.
    const struct {
        uint64_t microseconds;
        uint64_t frames;
    } steps[] = {{20000, 441}, {20000, 441}, {10000, 441},    {40000, 882},
                 {40045, 882}, {40046, 883}, {1000000, 22050}};
    for (const auto& s : steps) {
        SCOPED_TRACE(s.microseconds);
        EXPECT_EQ(hssAdvanceSystemOutput(s.microseconds), HSS_OK);
        EXPECT_EQ(hssSystemOutputFrames(), s.frames);
    }
    EXPECT_EQ(hssFinishSystemOutput(), HSS_OK);
    EXPECT_FALSE(speaker.isOpen());  // finishing closed it, as its own close() would
    const std::vector<uint8_t> file = ReadFile(path);
    ASSERT_EQ(file.size(), 44u + 22050 * 4);
    EXPECT_EQ(Le32(file, 24), 22050u);           // rate
    EXPECT_EQ(Le32(file, 40), 22050u * 4);       // data bytes
    EXPECT_EQ(hssFinishSystemOutput(), HSS_OK);  // again: nothing left to do
    std::remove(path.c_str());
}

TEST_F(SystemOutputRoute, OnlyTheFirstSpeakerGetsTheFile) {
    const std::string path = TempPath("first.wav");
    ASSERT_TRUE(hssRouteSystemOutput(hssSystemRoute::File, path.c_str()));
    hssSpeaker first, second;
    ASSERT_EQ(first.open(22050, 16, false, 1, HSS_OUTPUT_SYSTEM), HSS_OK);
    ASSERT_EQ(hssAdvanceSystemOutput(100000), HSS_OK);
    // A second speaker, or the first opened again, plays nowhere rather than truncate what
    // the file holds.
    EXPECT_EQ(second.open(22050, 16, false, 1, HSS_OUTPUT_SYSTEM), HSS_OK);
    EXPECT_TRUE(second.isOpen());
    EXPECT_EQ(first.open(22050, 16, false, 1, HSS_OUTPUT_SYSTEM), HSS_OK);
    EXPECT_EQ(hssSystemOutputFrames(), 0u);
    EXPECT_EQ(hssAdvanceSystemOutput(200000), HSS_OK);
    first.close();
    EXPECT_EQ(ReadFile(path).size(), 44u + 2205 * 2);
    std::remove(path.c_str());
}

TEST_F(SystemOutputRoute, NowhereAndFailures) {
    // Nowhere: the speaker opens and plays; nothing is written and advancing does nothing.
    ASSERT_TRUE(hssRouteSystemOutput(hssSystemRoute::Nowhere));
    {
        hssSpeaker speaker;
        EXPECT_EQ(speaker.open(22050, 16, true, 1, HSS_OUTPUT_SYSTEM), HSS_OK);
        EXPECT_EQ(hssAdvanceSystemOutput(1000000), HSS_OK);
        EXPECT_EQ(hssSystemOutputFrames(), 0u);
        EXPECT_EQ(hssFinishSystemOutput(), HSS_OK);
    }
    // A file route needs a path, and keeps the route it had without one.
    EXPECT_FALSE(hssRouteSystemOutput(hssSystemRoute::File, nullptr));
    EXPECT_FALSE(hssRouteSystemOutput(hssSystemRoute::File, ""));
    EXPECT_EQ(hssSystemOutputRoute(), hssSystemRoute::Nowhere);
    // A file no speaker opened: finishing says there is none.
    ASSERT_TRUE(hssRouteSystemOutput(hssSystemRoute::File, TempPath("never.wav").c_str()));
    EXPECT_EQ(hssFinishSystemOutput(), HSS_NOT_OPEN);
    // A file that cannot be created: the speaker stays closed, as for a missing device.
    ASSERT_TRUE(hssRouteSystemOutput(hssSystemRoute::File, "/nonexistent-folder/s.wav"));
    hssSpeaker speaker;
    EXPECT_EQ(speaker.open(22050, 16, true, 1, HSS_OUTPUT_SYSTEM), HSS_NO_DEVICE);
    EXPECT_FALSE(speaker.isOpen());
    EXPECT_EQ(hssFinishSystemOutput(), HSS_NOT_OPEN);
}

}  // namespace
