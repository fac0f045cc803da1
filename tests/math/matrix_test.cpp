#include "math/matrix.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "math/math_tables.h"

namespace {

using Point = std::array<int32_t, 3>;

Point Transform(const VMatrix& m, Point p) {
    Point r;
    TransformPoint(r[0], r[1], r[2], p[0], p[1], p[2], m);
    return r;
}

VMatrix Rotation(const ClassVMathTables& math, int32_t ax, int32_t ay, int32_t az) {
    VMatrix m;
    MatrixIdentity(m);
    MatrixRotation(math, ax, ay, az, m);
    return m;
}

class MatrixTest : public ::testing::Test {
  protected:
    void SetUp() override { math.BuildTables(); }
    ClassVMathTables math;
};

TEST(MatrixIdentity, DiagonalOnly) {
    VMatrix m;
    m.fill(-7);
    MatrixIdentity(m);
    EXPECT_EQ(m, (VMatrix{4096, 0, 0, 0, 0, 4096, 0, 0, 0, 0, 4096, 0, 0, 0, 0, 4096}));
}

TEST_F(MatrixTest, RotationWritesOnlyTheUpperLeft3x3) {
    VMatrix m;
    m.fill(77);
    MatrixRotation(math, 0, 0, 0, m);
    EXPECT_EQ(m, (VMatrix{4096, 0, 0, 77, 0, 4096, 0, 77, 0, 0, 4096, 77, 77, 77, 77, 77}));

    VMatrix identity;
    MatrixIdentity(identity);
    EXPECT_EQ(Rotation(math, 0, 0, 0), identity);
    EXPECT_EQ(Rotation(math, 4096, -4096, 65536), identity);
}

TEST_F(MatrixTest, QuarterTurnsAreExactAndApplyXThenYThenZ) {
    struct Case {
        const char* name;
        int32_t ax, ay, az;
        Point in, out;
    };
    constexpr int32_t k = 4096;
    const Case cases[] = {
        {"z turns x to y", 0, 0, 1024, {k, 0, 0}, {0, k, 0}},
        {"z turns y to -x", 0, 0, 1024, {0, k, 0}, {-k, 0, 0}},
        {"x turns y to z", 1024, 0, 0, {0, k, 0}, {0, 0, k}},
        {"y turns z to x", 0, 1024, 0, {0, 0, k}, {k, 0, 0}},
        {"y turns x to -z", 0, 1024, 0, {k, 0, 0}, {0, 0, -k}},
        {"negative angle turns back", 0, 0, -1024, {0, k, 0}, {k, 0, 0}},
        {"half turn about z", 0, 0, 2048, {k, 5, 0}, {-k, -5, 0}},
        // x first (z to -y), then z (-y to x); applied in the other order z would stay -y.
        {"x then z", 1024, 0, 1024, {0, 0, k}, {k, 0, 0}},
        // x first (y to z), then y (z to x).
        {"x then y", 1024, 1024, 0, {0, k, 0}, {k, 0, 0}},
        // y first (x to -z), then z (-z stays).
        {"y then z", 0, 1024, 1024, {k, 0, 0}, {0, 0, -k}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Transform(Rotation(math, c.ax, c.ay, c.az), c.in), c.out) << c.name;
    }
}

// Each element against the product Rx * Ry * Rz (row vectors) computed in floating point
// from the same table values: a wrong sign or a swapped term is off by thousands, the
// truncations by at most a few units.
TEST_F(MatrixTest, RotationMatchesTheFloatingPointProduct) {
    using M3 = std::array<std::array<double, 3>, 3>;
    const auto multiply = [](const M3& a, const M3& b) {
        M3 r{};
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j)
                for (int n = 0; n < 3; ++n) r[i][j] += a[i][n] * b[n][j];
        return r;
    };
    for (int32_t ax = -4096; ax < 8192; ax += 373) {
        for (int32_t ay = 0; ay < 4096; ay += 411) {
            for (int32_t az = 0; az < 4096; az += 297) {
                const double s1 = math.Sin(ax) / 65536.0, c1 = math.Cos(ax) / 65536.0;
                const double s2 = math.Sin(ay) / 65536.0, c2 = math.Cos(ay) / 65536.0;
                const double s3 = math.Sin(az) / 65536.0, c3 = math.Cos(az) / 65536.0;
                const M3 rx{{{1, 0, 0}, {0, c1, s1}, {0, -s1, c1}}};
                const M3 ry{{{c2, 0, -s2}, {0, 1, 0}, {s2, 0, c2}}};
                const M3 rz{{{c3, s3, 0}, {-s3, c3, 0}, {0, 0, 1}}};
                const M3 expected = multiply(multiply(rx, ry), rz);
                const VMatrix m = Rotation(math, ax, ay, az);
                for (int i = 0; i < 3; ++i) {
                    for (int j = 0; j < 3; ++j) {
                        ASSERT_NEAR(m[4 * i + j], 4096 * expected[i][j], 3.0)
                            << "angles " << ax << ", " << ay << ", " << az << " element "
                            << 4 * i + j;
                    }
                }
            }
        }
    }
}

TEST_F(MatrixTest, RotationWithoutTablesIsZero) {
    ClassVMathTables none;
    const VMatrix m = Rotation(none, 100, 200, 300);
    for (int k : {0, 1, 2, 4, 5, 6, 8, 9, 10}) EXPECT_EQ(m[k], 0) << k;
}

TEST(MatrixTranslation, WritesOnlyTheTranslation) {
    VMatrix m;
    m.fill(9);
    MatrixTranslation(-1, 2, -3, m);
    EXPECT_EQ(m, (VMatrix{9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, 9, -1, 2, -3, 9}));
}

TEST(TransformPoint, EachProductIsShiftedBeforeTheSum) {
    struct Case {
        const char* name;
        VMatrix m;
        Point in, point, direction;
    };
    // Half-scale rows: 0.5 * 1 truncates to 0 in each product, where shifting the sum would
    // give 1; -0.5 * 1 rounds down to -1 (an arithmetic shift, not a division).
    const VMatrix half{2048, 0, 0, 0, 2048, 0, 0, 0, 2048, 0, 0, 0, 10, 20, 30, 0};
    // The products wrap at 32 bits: 4096 * 2^19 = 2^31 reads as -2^31.
    const VMatrix unit{4096, 0, 0, 0, 0, 4096, 0, 0, 0, 0, 4096, 0, 1, 2, 3, 0};
    const Case cases[] = {
        {"truncated terms", half, {1, 1, 1}, {10, 20, 30}, {0, 0, 0}},
        {"negative terms round down", half, {-1, 1, 0}, {9, 20, 30}, {-1, 0, 0}},
        {"whole terms", half, {4, 2, 6}, {16, 20, 30}, {6, 0, 0}},
        {"identity with translation", unit, {-5, 6, 7}, {-4, 8, 10}, {-5, 6, 7}},
        {"products wrap at 32 bits",
         unit,
         {1 << 19, 0, 0},
         {-(1 << 19) + 1, 2, 3},
         {-(1 << 19), 0, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Transform(c.m, c.in), c.point) << c.name;
        Point d;
        TransformDirection(d[0], d[1], d[2], c.in[0], c.in[1], c.in[2], c.m);
        EXPECT_EQ(d, c.direction) << c.name;
    }
}

TEST_F(MatrixTest, MultiplyAppliesBThenA) {
    // a: quarter turn about z, then move by (10, 20, 30); b: double size, then move by
    // (1, 2, 3). Every product is whole, so the composition is exact.
    VMatrix a = Rotation(math, 0, 0, 1024);
    MatrixTranslation(10, 20, 30, a);
    VMatrix b{8192, 0, 0, 5, 0, 8192, 0, 5, 0, 0, 8192, 5, 1, 2, 3, 4096};
    const VMatrix oldA = a;
    MatrixMultiply(a, b);
    EXPECT_EQ(a, (VMatrix{0, 8192, 0, 0, -8192, 0, 0, 0, 0, 0, 8192, 0, 8, 21, 33, 4096}));
    for (const Point& p : {Point{0, 0, 0}, Point{7, -3, 11}, Point{-4096, 1000, 2}}) {
        EXPECT_EQ(Transform(a, p), Transform(oldA, Transform(b, p)));
    }

    // Multiplying a matrix by itself reads the old values throughout.
    VMatrix self = oldA;
    VMatrix copy = oldA;
    MatrixMultiply(self, self);
    MatrixMultiply(copy, oldA);
    EXPECT_EQ(self, copy);
}

TEST_F(MatrixTest, MultiplyComposesSingleAxisRotationsExactlyAtQuarterTurns) {
    // Rotation(ax, ay, az) is Rx followed by Ry followed by Rz; at quarter turns every table
    // value is 0 or +-1.0, so the two ways agree bit for bit.
    for (int32_t ax = 0; ax < 4096; ax += 1024) {
        for (int32_t ay = 0; ay < 4096; ay += 1024) {
            for (int32_t az = 0; az < 4096; az += 1024) {
                VMatrix chain = Rotation(math, 0, 0, az);
                MatrixMultiply(chain, Rotation(math, 0, ay, 0));
                MatrixMultiply(chain, Rotation(math, ax, 0, 0));
                EXPECT_EQ(chain, Rotation(math, ax, ay, az)) << ax << ", " << ay << ", " << az;
            }
        }
    }
}

TEST_F(MatrixTest, RigidInverseOfAQuarterTurnIsExact) {
    VMatrix m = Rotation(math, 0, 0, 1024);
    MatrixTranslation(100, 0, 0, m);
    EXPECT_EQ(Transform(m, {4096, 0, 0}), (Point{100, 4096, 0}));

    MatrixInvertRigid(m);
    VMatrix expected = Rotation(math, 0, 0, -1024);
    MatrixTranslation(0, 100, 0, expected);
    EXPECT_EQ(m, expected);
    EXPECT_EQ(Transform(m, {100, 4096, 0}), (Point{4096, 0, 0}));
}

TEST_F(MatrixTest, RigidInverseRoundTrips) {
    // The 3.14 wave's cosine runs 0.0023 radians ahead of its sine, so the rotations are not
    // quite orthogonal and their transposes are inverses only to within about 0.7 %. A wrong
    // sign or an untransposed element would be off by the size of the point itself.
    struct Probe {
        Point p;
        int32_t tolerance;  // 4 units plus 1/128 of the point's length
    };
    const Probe probes[] = {{{4096, 0, 0}, 36}, {{-3000, 2500, 1200}, 36}, {{17, -4000, 4000}, 48}};
    for (int32_t ax = 0; ax < 4096; ax += 331) {
        for (int32_t ay = 0; ay < 4096; ay += 517) {
            for (int32_t az = 0; az < 4096; az += 443) {
                VMatrix m = Rotation(math, ax, ay, az);
                MatrixTranslation(ax - 2000, 1000 - ay, az, m);
                VMatrix inverse = m;
                MatrixInvertRigid(inverse);
                for (const Probe& probe : probes) {
                    const Point back = Transform(inverse, Transform(m, probe.p));
                    for (int i = 0; i < 3; ++i) {
                        ASSERT_LE(std::abs(back[i] - probe.p[i]), probe.tolerance)
                            << "angles " << ax << ", " << ay << ", " << az << " axis " << i;
                    }
                }
                // Composed into one matrix, the pair is the identity to within 1 %.
                MatrixMultiply(inverse, m);
                for (int row = 0; row < 4; ++row) {
                    for (int col = 0; col < 3; ++col) {
                        const int32_t want = row == col ? 4096 : 0;
                        ASSERT_LE(std::abs(inverse[4 * row + col] - want), 41)
                            << "angles " << ax << ", " << ay << ", " << az << " element "
                            << 4 * row + col;
                    }
                }
            }
        }
    }
}

}  // namespace
