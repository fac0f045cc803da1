// The settings file through whole runs of the demo: the program is copied into a folder of
// its own, where it finds (or does not find) "game_nastr.cfg", and is run as a separate
// process so that a fatal end ends only it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<uint8_t>;

struct ProbeResult {
    int exitCode = -1;
    std::string out, err;
    std::optional<Bytes> settings;  // absent: no file
};

// What starts a program: nothing natively, the emulator in a cross build (VANE_PROGRAM_RUNNER).
std::string ProgramRunner() {
    const char* runner = std::getenv("VANE_PROGRAM_RUNNER");
    return runner != nullptr && *runner != 0 ? std::string(runner) + " " : std::string();
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A fresh folder holding a copy of the probe and, when given, a settings file.
class ProbeFolder {
  public:
    explicit ProbeFolder(const std::optional<Bytes>& settings) {
        std::string pattern = (fs::temp_directory_path() / "vorlund_probe_XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
        fs::copy_file(DEMO_PROBE_PATH, dir_ / "demo_probe");
        if (settings) {
            std::ofstream out(dir_ / "game_nastr.cfg", std::ios::binary);
            out.write(reinterpret_cast<const char*>(settings->data()),
                      std::streamsize(settings->size()));
        }
    }
    ~ProbeFolder() {
        fs::permissions(dir_, fs::perms::owner_all);
        fs::remove_all(dir_);
    }
    const fs::path& Dir() const { return dir_; }

    // Runs the probe there; asUser: through setpriv as that user id.
    ProbeResult Run(const std::string& args, const std::string& asUser = "") const {
        const std::string runner = asUser.empty() ? ""
                                                  : "setpriv --reuid=" + asUser +
                                                        " --regid=" + asUser + " --clear-groups ";
        const std::string command = "cd '" + dir_.string() + "' && " + runner + ProgramRunner() +
                                    "./demo_probe " + args + " >'" + (dir_ / "out").string() +
                                    "' 2>'" + (dir_ / "err").string() + "'";
        ProbeResult r;
        const int status = std::system(command.c_str());
        if (WIFEXITED(status)) r.exitCode = WEXITSTATUS(status);
        fs::permissions(dir_, fs::perms::owner_all);
        r.out = ReadText(dir_ / "out");
        r.err = ReadText(dir_ / "err");
        if (fs::exists(dir_ / "game_nastr.cfg")) {
            const std::string bytes = ReadText(dir_ / "game_nastr.cfg");
            r.settings = Bytes(bytes.begin(), bytes.end());
        }
        return r;
    }

  private:
    fs::path dir_;
};

TEST(SettingsFile, CarriedThroughARunThatEndsWithAKey) {
    struct Case {
        const char* what;
        std::optional<Bytes> before;
        Bytes after;
    };
    const Case cases[] = {
        {"no file: the defaults", std::nullopt, {0x01, 0x01}},
        {"kept unchanged", Bytes{0x00, 0x01}, {0x00, 0x01}},
        {"one byte: the second stays 1", Bytes{0x07}, {0x07, 0x01}},
        {"longer file: two bytes read, two written", Bytes{0x05, 0x06, 0x09}, {0x05, 0x06}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProbeFolder folder(c.before);
        const ProbeResult r = folder.Run("100 --key-before 10");
        EXPECT_EQ(r.exitCode, 0) << r.err;
        ASSERT_TRUE(r.settings.has_value());
        EXPECT_EQ(*r.settings, c.after);
    }
}

TEST(SettingsFile, UnwritableFolderMeansNoFileAndNoError) {
    ProbeFolder folder(std::nullopt);
    // Root writes everywhere, so the probe then runs as the unprivileged user "nobody".
    std::string user;
    if (geteuid() == 0) {
        if (std::system("command -v setpriv >/dev/null") != 0) GTEST_SKIP() << "no setpriv";
        user = "65534";
    }
    fs::permissions(folder.Dir(), fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec);
    const ProbeResult r = folder.Run("100 --key-before 10", user);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(r.settings.has_value());
}

// Without the last model the demo runs until it needs it, then stops with the fatal message;
// nothing is saved on that way out.
TEST(SettingsFile, MissingModelEndsAtItsFrameWithoutSaving) {
    ProbeFolder folder(std::nullopt);
    const ProbeResult r = folder.Run("4000 --without MODELS 115 --announce 2 1800");
    EXPECT_EQ(r.exitCode, 255);
    EXPECT_EQ(r.out, "reached scene 2 frame 1800\n");
    EXPECT_NE(r.err.find("Fatal Error"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Ошибка загрузки данных из ресурса"), std::string::npos) << r.err;
    EXPECT_FALSE(r.settings.has_value());
}

}  // namespace
