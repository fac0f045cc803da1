// The bounded reader of ClassVLoaderBase and the base's answers to every format.
#include <gtest/gtest.h>

#include "imaging/loader_base.h"
#include "tests/imaging/capture_surface.h"

namespace {

class Reader : public ClassVLoaderBase {};

TEST(LoaderReader, WordNeedsTwoBytes) {
    const uint8_t data[3] = {0x34, 0x12, 0x56};
    Reader r;
    r.SetSource(data, 3);
    uint16_t w = 0xBEEF;
    ASSERT_TRUE(r.ReadWord(&w));
    EXPECT_EQ(w, 0x1234);
    EXPECT_FALSE(r.ReadWord(&w));  // one byte left
    EXPECT_EQ(w, 0x1234);          // output untouched
    EXPECT_EQ(r.GetPos(), 2u);     // position unchanged
    uint8_t b = 0;
    EXPECT_TRUE(r.ReadByte(&b));
    EXPECT_EQ(b, 0x56);
    EXPECT_FALSE(r.HasData());
    EXPECT_FALSE(r.ReadByte(&b));
}

TEST(LoaderReader, ByteOrder) {
    const uint8_t data[4] = {0x01, 0x02, 0x03, 0x04};
    Reader r;
    uint32_t d = 0;
    r.SetSource(data, 4);
    ASSERT_TRUE(r.ReadDword(&d));
    EXPECT_EQ(d, 0x04030201u);
    r.SetBigEndian(true);
    r.SetSource(data, 4);
    ASSERT_TRUE(r.ReadDword(&d));
    EXPECT_EQ(d, 0x01020304u);
    r.SetPos(1);
    EXPECT_FALSE(r.ReadDword(&d));  // three bytes left
    EXPECT_EQ(d, 0x01020304u);
    uint16_t w = 0;
    ASSERT_TRUE(r.ReadWord(&w));
    EXPECT_EQ(w, 0x0203);
}

TEST(LoaderReader, ShortBlockCopiesWhatIsLeft) {
    uint8_t data[20];
    for (uint8_t i = 0; i < 20; ++i) data[i] = i;
    Reader r;
    r.SetSource(data, 20);
    r.Skip(10);
    uint8_t out[100] = {};
    ASSERT_TRUE(r.ReadBlock(out, 100));
    EXPECT_EQ(out[0], 10);
    EXPECT_EQ(out[9], 19);
    EXPECT_EQ(out[10], 0);
    EXPECT_EQ(r.GetPos(), 20u);
    EXPECT_FALSE(r.ReadBlock(out, 1));
}

TEST(LoaderReader, PositionPastTheEndFailsEveryRead) {
    const uint8_t data[4] = {};
    Reader r;
    r.SetSource(data, 4);
    r.SetPos(0xFFFFFFF0u);
    uint8_t b = 7;
    uint16_t w = 7;
    uint32_t d = 7;
    EXPECT_FALSE(r.ReadByte(&b));
    EXPECT_FALSE(r.ReadWord(&w));
    EXPECT_FALSE(r.ReadDword(&d));
    EXPECT_FALSE(r.ReadBlock(&d, 4));
    EXPECT_EQ(b + w + d, 21u);
    EXPECT_FALSE(r.HasData());
}

TEST(LoaderBase, KnowsNoFormat) {
    const uint8_t data[4] = {1, 2, 3, 4};
    ClassVLoaderBase base;
    CaptureSurface surface;
    EXPECT_EQ(base.DecodeImage(&surface, data, 4, 4, 0), VLOAD_NOTTHISFORMAT);
    EXPECT_EQ(base.LoadModel(nullptr, data, 4, 0, 0), VLOAD_NOTTHISFORMAT);
    EXPECT_EQ(surface.infocalls, 0u);
}

}  // namespace
