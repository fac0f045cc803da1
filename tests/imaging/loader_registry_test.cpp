// The loader slots and the dispatch over them.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/loader_bmp.h"
#include "imaging/loader_gif.h"
#include "imaging/loader_png.h"
#include "imaging/loader_registry.h"
#include "tests/imaging/capture_surface.h"
#include "tests/imaging/test_files.h"

namespace {

// Answers a fixed result and notes the order in which loaders were asked.
class ScriptedLoader : public ClassVLoaderBase {
  public:
    ScriptedLoader(uint32_t result, std::vector<int>* calls, int id, int* deleted = nullptr)
        : m_result(result), m_calls(calls), m_id(id), m_deleted(deleted) {}
    ~ScriptedLoader() override {
        if (m_deleted != nullptr) ++*m_deleted;
    }
    uint32_t DecodeImage(V2DSurfaceBase*, const uint8_t*, uint32_t, uint8_t, uint32_t) override {
        m_calls->push_back(m_id);
        return m_result;
    }

  private:
    uint32_t m_result;
    std::vector<int>* m_calls;
    int m_id;
    int* m_deleted;
};

TEST(LoaderRegistry, EmptyRegistryAnswersNotThisFormat) {
    VLoaderRegistry loaders;
    CaptureSurface surface;
    const uint8_t data[4] = {};
    EXPECT_EQ(loaders.DecodeImage(&surface, data, 4, 4, 0), VLOAD_NOTTHISFORMAT);
    EXPECT_EQ(loaders.LoadModel(nullptr, data, 4, 0, 0), VLOAD_NOTTHISFORMAT);
}

TEST(LoaderRegistry, ResultsThreeAndFourteenPassOn) {
    struct Case {
        std::vector<uint32_t> results;
        uint32_t expected;
        size_t asked;
    };
    const Case cases[] = {
        {{3, 14, 0, 3}, 0, 3},                    // the first other result ends the walk
        {{3, 3, 3}, 3, 3},     {{3, 14}, 14, 2},  // the last 3 or 14 is the result
        {{14, 3}, 3, 2},       {{14, 1, 0}, 1, 2},
        {{5}, 5, 1},  // an ImageInfo result passed through
    };
    for (const Case& c : cases) {
        std::vector<int> calls;
        VLoaderRegistry loaders;
        for (size_t i = 0; i < c.results.size(); ++i) {
            ASSERT_TRUE(loaders.RegisterLoader(new ScriptedLoader(c.results[i], &calls, int(i))));
        }
        CaptureSurface surface;
        const uint8_t data[1] = {};
        EXPECT_EQ(loaders.DecodeImage(&surface, data, 1, 4, 0), c.expected);
        ASSERT_EQ(calls.size(), c.asked);
        for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(calls[i], int(i));
    }
}

TEST(LoaderRegistry, SixteenSlotsOwnedAndDeleted) {
    std::vector<int> calls;
    int deleted = 0;
    {
        VLoaderRegistry loaders;
        EXPECT_FALSE(loaders.RegisterLoader(nullptr));
        for (int i = 0; i < 16; ++i) {
            ASSERT_TRUE(loaders.RegisterLoader(new ScriptedLoader(3, &calls, i, &deleted)));
        }
        auto* seventeenth = new ScriptedLoader(3, &calls, 16, &deleted);
        EXPECT_FALSE(loaders.RegisterLoader(seventeenth));
        delete seventeenth;  // a failed registration leaves the loader with the caller
        EXPECT_EQ(deleted, 1);
        EXPECT_EQ(loaders.Count(), 16u);
    }
    EXPECT_EQ(deleted, 17);
}

TEST(LoaderRegistry, ImageLoadersPassModelsOnAndUnknownDataYieldsThree) {
    VLoaderRegistry loaders;
    loaders.RegisterLoader(new VLoader_BMP);
    loaders.RegisterLoader(new VLoader_GIF);
    loaders.RegisterLoader(new VLoader_PNG);
    const uint8_t text[] = "not a picture at all";
    CaptureSurface surface;
    EXPECT_EQ(loaders.DecodeImage(&surface, text, sizeof(text), 4, 0), VLOAD_NOTTHISFORMAT);
    EXPECT_EQ(loaders.DecodeImage(&surface, text, 0, 4, 0), VLOAD_NOTTHISFORMAT);
    EXPECT_EQ(loaders.DecodeImage(&surface, nullptr, 100, 4, 0), VLOAD_NOTTHISFORMAT);
    EXPECT_EQ(surface.infocalls, 0u);
    const std::vector<uint8_t> png = ReadTestFile("png_t6_d8_33x17.png");
    EXPECT_EQ(loaders.LoadModel(nullptr, png.data(), uint32_t(png.size()), 0, 0),
              VLOAD_NOTTHISFORMAT);
}

}  // namespace
