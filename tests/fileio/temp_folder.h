// A fresh folder under the system's temporary folder, removed with everything in it when the
// test ends.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

class TempFolder {
  public:
    TempFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("vane_fileio_" + std::to_string(getpid()) + "_" + test->test_suite_name() + "_" +
                 test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }

    std::filesystem::path Path(const std::string& name) const { return path_ / name; }
    std::u16string Wide(const std::string& name) const { return Path(name).u16string(); }

    // Writes bytes to the named file and returns its wide path.
    std::u16string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return Wide(name);
    }

    std::vector<uint8_t> Contents(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::filesystem::path path_;
};
