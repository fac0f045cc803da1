// The compiled-in resource table against the files it was made from: every row of the
// resource list must be found by type and id and yield exactly the file's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/resources.h"

namespace {

struct ListedResource {
    std::string type;
    uint32_t id;
    std::string file;
};

std::vector<ListedResource> ReadResourceList(const std::string& path) {
    std::vector<ListedResource> rows;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        ListedResource row;
        if (fields >> row.type >> row.id >> row.file) rows.push_back(row);
    }
    return rows;
}

std::vector<uint8_t> ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(ResourceTable, EveryListedFileIsCompiledInByteForByte) {
    const std::string dir = VORLUND_ASSETS_DIR;
    const std::vector<ListedResource> rows = ReadResourceList(dir + "/resources.list");
    ASSERT_FALSE(rows.empty());
    const VResourceModule* module = ProgramResources();
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(module->count, rows.size());
    for (const ListedResource& row : rows) {
        SCOPED_TRACE(row.type + " " + std::to_string(row.id) + " " + row.file);
        const std::vector<uint8_t> expected = ReadFileBytes(dir + "/" + row.file);
        ASSERT_FALSE(expected.empty());
        const uint8_t* data = nullptr;
        size_t size = 0;
        ASSERT_TRUE(FindResource(module, row.type.c_str(), row.id, &data, &size));
        ASSERT_EQ(size, expected.size());
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(), data));
    }
}

// The demo loads these by type and id, at start or when a scene needs them; each must be in
// the table.
TEST(ResourceTable, HoldsEveryResourceTheDemoLoads) {
    const struct {
        const char* type;
        uint32_t id;
    } wanted[] = {{"IMAGES", 105}, {"IMAGES", 108}, {"IMAGES", 109}, {"IMAGES", 116},
                  {"PTMOD", 117},  {"WAVE", 118},   {"WAVE", 120},   {"WAVE", 123},
                  {"ICON", 101},   {"MODELS", 112}, {"MODELS", 113}, {"MODELS", 114},
                  {"MODELS", 115}};
    for (const auto& w : wanted) {
        EXPECT_TRUE(FindResource(ProgramResources(), w.type, w.id, nullptr, nullptr))
            << w.type << " " << w.id;
    }
}
