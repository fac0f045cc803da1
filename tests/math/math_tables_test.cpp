#include "math/math_tables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace {

class MathTablesTest : public ::testing::Test {
  protected:
    void SetUp() override { math.BuildTables(); }
    ClassVMathTables math;
};

TEST_F(MathTablesTest, SineAndCosineAtTheTurningPoints) {
    struct Case {
        const char* name;
        int32_t angle;
        int32_t sine;
        int32_t cosine;
    };
    // The 3.14-based wave: the quarter reaches 1.0 only at its last entry (1023), so the sine
    // holds 65536 at both 1023 and 1024, and the cosine is 0 a step early.
    const Case cases[] = {
        {"zero", 0, 0, 65536},
        {"one unit follows 3.14, not pi", 1, 100, 65535},
        {"last entry of the quarter", 1023, 65536, 0},
        {"quarter turn", 1024, 65536, 0},
        {"just before half turn", 2047, 0, -65536},
        {"half turn", 2048, 0, -65536},
        {"three quarters", 3072, -65536, 0},
        {"last angle of the turn", 4095, 0, 65536},
        {"angle wraps at 4096", 4096 + 5, 502, 65532},
        {"negative angle", -1024, -65536, 0},
        {"only the low 12 bits count", 0x7FFFF000 + 1024, 65536, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(math.Sin(c.angle), c.sine) << c.name;
        EXPECT_EQ(math.Cos(c.angle), c.cosine) << c.name;
    }
    EXPECT_EQ(math.Sin(4096 + 5), math.Sin(5));
}

TEST_F(MathTablesTest, QuarterWaveIsTheTruncated314Sine) {
    // Checked against the C library's sine in extended precision; every exact value lies at
    // least 9e-5 away from an integer, so the truncation is unambiguous.
    for (int i = 0; i < 1023; ++i) {
        const long double exact = 65536.0L * std::sin(i * 3.14L / 2048.0L);
        ASSERT_EQ(math.Sin(i), static_cast<int32_t>(exact)) << "angle " << i;
    }
}

TEST_F(MathTablesTest, WaveSymmetries) {
    for (int32_t a = 0; a < 4096; ++a) {
        ASSERT_EQ(math.Sin(a + 2048), -math.Sin(a)) << a;
        ASSERT_EQ(math.Cos(a), math.Sin(a + 1024)) << a;
        if (a < 1024) {
            ASSERT_EQ(math.Sin(2047 - a), math.Sin(a)) << a;
        }
    }
    EXPECT_EQ(math.CosineTable(), math.SineTable() + 1024);
}

TEST_F(MathTablesTest, Tangent) {
    struct Case {
        const char* name;
        int32_t angle;
        int32_t tangent;
    };
    const Case cases[] = {
        {"zero", 0, 0},
        {"one unit", 1, 100},
        {"eighth turn is close to 1.0", 512, 65640},
        {"quarter turn is the positive limit", 1024, 0x7FFFFFFF},
        {"cosine already 0 one unit early", 1023, 0x7FFFFFFF},
        {"three quarters is the negative limit", 3072, -0x7FFFFFFF},
        {"cosine 0 just before three quarters", 3071, 0x7FFFFFFF},
        {"second quarter is negative", 1536, -65432},
        {"division truncates toward zero", -512, -65438},
        {"angle wraps", 4096 + 1024, 0x7FFFFFFF},
    };
    for (const Case& c : cases) EXPECT_EQ(math.Tan(c.angle), c.tangent) << c.name;
}

TEST(MathTablesLifecycle, NoTablesGiveZero) {
    ClassVMathTables math;
    const auto expectAllZero = [&math](const char* state) {
        EXPECT_EQ(math.SineTable(), nullptr) << state;
        EXPECT_EQ(math.CosineTable(), nullptr) << state;
        for (int32_t a : {0, 1024, 2048, 3072}) {
            EXPECT_EQ(math.Sin(a), 0) << state << " " << a;
            EXPECT_EQ(math.Cos(a), 0) << state << " " << a;
            EXPECT_EQ(math.Tan(a), 0) << state << " " << a;
        }
    };
    expectAllZero("constructed");

    math.BuildTables();
    math.BuildTables();  // a rebuild replaces the old table without leaking it
    EXPECT_EQ(math.Sin(1024), 65536);

    math.FreeTables();
    expectAllZero("freed");
    math.FreeTables();
}

}  // namespace
