// The vorlund command line: every option with good and bad values, and what the entry does
// with a bad one (one line naming it, the usage, exit code 2).
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "programs/vorlund/options.h"
#include "programs/vorlund/vorlund_main.h"

namespace {

VorlundParse Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "vorlund");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    return ParseVorlundOptions(int(argv.size()), argv.data());
}

struct GoodCase {
    std::vector<std::string> args;
    std::function<void(const VorlundOptions&)> check;
};

TEST(VorlundOptions, GoodCommandLines) {
    using V = std::vector<uint32_t>;
    const GoodCase cases[] = {
        {{},
         [](const VorlundOptions& o) {
             EXPECT_EQ(o.scale, 0u);
             EXPECT_FALSE(o.fullScreen);
             EXPECT_FALSE(o.RunsHeadless());
             EXPECT_EQ(o.FrameLimit(), 0u);  // a window runs until a key ends it
             EXPECT_EQ(o.shotDir, ".");
         }},
        {{"--scale", "3"}, [](const VorlundOptions& o) { EXPECT_EQ(o.scale, 3u); }},
        {{"--scale=16"}, [](const VorlundOptions& o) { EXPECT_EQ(o.scale, 16u); }},
        {{"--scale", "1"}, [](const VorlundOptions& o) { EXPECT_EQ(o.scale, 1u); }},
        {{"--fullscreen"}, [](const VorlundOptions& o) { EXPECT_TRUE(o.fullScreen); }},
        {{"--headless"},
         [](const VorlundOptions& o) {
             EXPECT_TRUE(o.RunsHeadless());
             EXPECT_EQ(o.FrameLimit(), kDefaultHeadlessFrames);
         }},
        {{"--frames", "1"}, [](const VorlundOptions& o) { EXPECT_EQ(o.FrameLimit(), 1u); }},
        {{"--headless", "--frames=2147483647"},
         [](const VorlundOptions& o) { EXPECT_EQ(o.FrameLimit(), 2147483647u); }},
        {{"--frames", "10", "--frames", "20"},
         [](const VorlundOptions& o) { EXPECT_EQ(o.frames, 20u); }},  // the last one counts
        {{"--shot", "5,1,5,3-4"},
         [](const VorlundOptions& o) {
             EXPECT_EQ(o.shots, (V{1, 3, 4, 5}));
         }},
        {{"--shot", "0"}, [](const VorlundOptions& o) { EXPECT_EQ(o.shots, V{0}); }},
        {{"--shot", "7-7", "--shot", "2"},
         [](const VorlundOptions& o) {
             EXPECT_EQ(o.shots, (V{2, 7}));
         }},
        {{"--frames", "10", "--shot", "9"},
         [](const VorlundOptions& o) { EXPECT_EQ(o.shots, V{9}); }},
        {{"--shot", "5000"}, [](const VorlundOptions& o) { EXPECT_EQ(o.shots, V{5000}); }},
        {{"--shot-dir", "out/shots"},
         [](const VorlundOptions& o) { EXPECT_EQ(o.shotDir, "out/shots"); }},
        {{"--record", "demo.mp4"},
         [](const VorlundOptions& o) {
             EXPECT_EQ(o.recordPath, "demo.mp4");
             EXPECT_TRUE(o.RunsHeadless());  // a recording never opens a window
             EXPECT_EQ(o.FrameLimit(), kDefaultHeadlessFrames);
         }},
        {{"--record=DEMO.MP4"},
         [](const VorlundOptions& o) { EXPECT_EQ(o.recordPath, "DEMO.MP4"); }},
        {{"--audio-out", "sound.wav"},
         [](const VorlundOptions& o) {
             EXPECT_EQ(o.audioOutPath, "sound.wav");
             EXPECT_FALSE(o.RunsHeadless());
         }},
        {{"--record", "a.mp4", "--audio-out", "a.wav"},
         [](const VorlundOptions& o) { EXPECT_EQ(o.audioOutPath, "a.wav"); }},
        {{"--mute"}, [](const VorlundOptions& o) { EXPECT_TRUE(o.mute); }},
    };
    for (const GoodCase& c : cases) {
        std::string line;
        for (const std::string& a : c.args) line += a + " ";
        SCOPED_TRACE(line);
        const VorlundParse parse = Parse(c.args);
        ASSERT_EQ(parse.command, VorlundCommand::Run) << parse.error;
        c.check(parse.options);
    }
}

TEST(VorlundOptions, HelpAndVersion) {
    const struct {
        std::vector<std::string> args;
        VorlundCommand command;
    } cases[] = {
        {{"--help"}, VorlundCommand::Help},
        {{"-h"}, VorlundCommand::Help},
        {{"--scale", "2", "--help"}, VorlundCommand::Help},
        {{"--version"}, VorlundCommand::Version},
        {{"--bogus", "--help"}, VorlundCommand::Error},  // read in order: the slip comes first
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0]);
        EXPECT_EQ(Parse(c.args).command, c.command);
    }
}

struct BadCase {
    std::vector<std::string> args;
    const char* message;  // the whole one-line message
};

const BadCase kBadCases[] = {
    {{"--bogus"}, "unknown option '--bogus'"},
    {{"-x"}, "unknown option '-x'"},
    {{"demo.mp4"}, "unexpected argument 'demo.mp4'"},
    {{"--scale"}, "--scale needs a value"},
    {{"--scale", "0"}, "--scale: '0' is not a whole number from 1 to 16"},
    {{"--scale", "17"}, "--scale: '17' is not a whole number from 1 to 16"},
    {{"--scale", "-1"}, "--scale: '-1' is not a whole number from 1 to 16"},
    {{"--scale", "2.5"}, "--scale: '2.5' is not a whole number from 1 to 16"},
    {{"--scale="}, "--scale: '' is not a whole number from 1 to 16"},
    {{"--fullscreen=yes"}, "--fullscreen takes no value"},
    {{"--headless=1"}, "--headless takes no value"},
    {{"--frames", "0"}, "--frames: '0' is not a whole number from 1 to 2147483647"},
    {{"--frames", "2147483648"},
     "--frames: '2147483648' is not a whole number from 1 to 2147483647"},
    {{"--frames", "99999999999"},
     "--frames: '99999999999' is not a whole number from 1 to 2147483647"},
    {{"--frames", " 5"}, "--frames: ' 5' is not a whole number from 1 to 2147483647"},
    {{"--frames"}, "--frames needs a value"},
    {{"--shot"}, "--shot needs a value"},
    {{"--shot", ""}, "--shot: '' is not a frame number"},
    {{"--shot", "1,,2"}, "--shot: '' is not a frame number"},
    {{"--shot", "1,"}, "--shot: '' is not a frame number"},
    {{"--shot", "a"}, "--shot: 'a' is not a frame number"},
    {{"--shot", "4-3"}, "--shot: '4-3' is not a range of frames (first-last)"},
    {{"--shot", "3-"}, "--shot: '3-' is not a range of frames (first-last)"},
    {{"--shot", "0-100000"}, "--shot: more than 100000 frames"},
    {{"--frames", "10", "--shot", "10"},
     "--shot: frame 10 comes after the last frame of the run (9)"},
    {{"--headless", "--shot", "3750"},
     "--shot: frame 3750 comes after the last frame of the run (3749)"},
    {{"--shot-dir", ""}, "--shot-dir: the folder name is empty"},
    {{"--shot-dir"}, "--shot-dir needs a value"},
    {{"--record", "demo.avi"}, "--record: 'demo.avi' is not an .mp4 file name"},
    {{"--record", ".mp4"}, "--record: '.mp4' is not an .mp4 file name"},
    {{"--record"}, "--record needs a value"},
    {{"--audio-out", "sound.mp3"}, "--audio-out: 'sound.mp3' is not a .wav file name"},
    {{"--audio-out"}, "--audio-out needs a value"},
    {{"--mute", "--record", "a.mp4"},
     "--mute: a recording carries the demo's sound; leave out one of the two"},
    {{"--audio-out", "a.wav", "--mute"},
     "--mute: --audio-out writes the sound; leave out one of the two"},
    {{"--help=me"}, "--help takes no value"},
};

TEST(VorlundOptions, BadCommandLines) {
    for (const BadCase& c : kBadCases) {
        SCOPED_TRACE(c.message);
        const VorlundParse parse = Parse(c.args);
        EXPECT_EQ(parse.command, VorlundCommand::Error);
        EXPECT_EQ(parse.error, c.message);
    }
}

// The entry turns each of them into its message on one line, the usage after it, nothing on
// standard output and exit code 2.
TEST(VorlundOptions, EntryExitsWithCode2AndTheUsage) {
    for (const BadCase& c : kBadCases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = c.args;
        args.insert(args.begin(), "/usr/games/vorlund");
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const int code = VorlundMain(int(argv.size()), argv.data());
        const std::string out = testing::internal::GetCapturedStdout();
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(code, 2);
        EXPECT_EQ(out, "");
        EXPECT_EQ(err, "vorlund: " + std::string(c.message) + "\n" + VorlundUsage("vorlund"));
    }
}

TEST(VorlundOptions, EntryPrintsHelpAndVersion) {
    const struct {
        const char* option;
        std::string output;
    } cases[] = {
        {"--help", VorlundUsage("vorlund")},
        {"--version", VorlundVersion()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        std::string program = "vorlund", option = c.option;
        char* argv[] = {program.data(), option.data()};
        testing::internal::CaptureStdout();
        EXPECT_EQ(VorlundMain(2, argv), 0);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.output);
    }
    EXPECT_EQ(VorlundVersion().rfind("vorlund 1.0", 0), 0u);
}

}  // namespace
