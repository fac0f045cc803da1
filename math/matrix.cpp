#include "math/matrix.h"

#include <utility>

#include "math/math_tables.h"
#include "math/wrap_arith.h"

namespace {

// One 20.12 product term: the 32-bit product, shifted right by 12 before it is summed.
int32_t Term(int32_t element, int32_t value) {
    return WrapMul(element, value) >> 12;
}

// A rotation term from two 2.14 values: a 4.28 product reduced to 20.12.
int32_t Mul16(int32_t a, int32_t b) {
    return (a * b) >> 16;
}

// The weighted sum of three rows of m (rows 0 to 2) for column j, before translation.
int32_t Column(const VMatrix& m, int j, int32_t x, int32_t y, int32_t z) {
    return WrapAdd(WrapAdd(Term(m[j], x), Term(m[4 + j], y)), Term(m[8 + j], z));
}

}  // namespace

void MatrixIdentity(VMatrix& m) {
    m.fill(0);
    m[0] = m[5] = m[10] = m[15] = 4096;
}

void MatrixRotation(const ClassVMathTables& math, int32_t ax, int32_t ay, int32_t az, VMatrix& m) {
    // The 16.16 table values reduced to 2.14, so that every product of two fits in 32 bits.
    const int32_t s1 = math.Sin(ax) >> 2, c1 = math.Cos(ax) >> 2;
    const int32_t s2 = math.Sin(ay) >> 2, c2 = math.Cos(ay) >> 2;
    const int32_t s3 = math.Sin(az) >> 2, c3 = math.Cos(az) >> 2;
    const int32_t t = (s2 * s1) >> 14;
    const int32_t u = (s2 * c1) >> 14;

    m[0] = Mul16(c3, c2);
    m[1] = Mul16(s3, c2);
    m[2] = (-s2) >> 2;
    m[4] = Mul16(t, c3) - Mul16(s3, c1);
    m[5] = Mul16(t, s3) + Mul16(c3, c1);
    m[6] = Mul16(c2, s1);
    m[8] = Mul16(u, c3) + Mul16(s3, s1);
    m[9] = Mul16(u, s3) - Mul16(c3, s1);
    m[10] = Mul16(c2, c1);
}

void MatrixTranslation(int32_t x, int32_t y, int32_t z, VMatrix& m) {
    m[12] = x;
    m[13] = y;
    m[14] = z;
}

void MatrixMultiply(VMatrix& a, const VMatrix& b) {
    VMatrix r = a;
    for (int row = 0; row < 4; ++row) {
        const int32_t x = b[4 * row], y = b[4 * row + 1], z = b[4 * row + 2];
        for (int j = 0; j < 3; ++j) {
            const int32_t sum = Column(a, j, x, y, z);
            // The translation row also carries a's own translation.
            r[4 * row + j] = row == 3 ? WrapAdd(sum, a[12 + j]) : sum;
        }
    }
    r[3] = r[7] = r[11] = 0;
    a = r;
}

void MatrixInvertRigid(VMatrix& m) {
    std::swap(m[1], m[4]);
    std::swap(m[2], m[8]);
    std::swap(m[6], m[9]);
    VMatrix undo;
    MatrixIdentity(undo);
    MatrixTranslation(WrapNeg(m[12]), WrapNeg(m[13]), WrapNeg(m[14]), undo);
    MatrixTranslation(0, 0, 0, m);
    MatrixMultiply(m, undo);
}

void TransformPoint(int32_t& outX, int32_t& outY, int32_t& outZ, int32_t x, int32_t y, int32_t z,
                    const VMatrix& m) {
    const int32_t rx = WrapAdd(Column(m, 0, x, y, z), m[12]);
    const int32_t ry = WrapAdd(Column(m, 1, x, y, z), m[13]);
    const int32_t rz = WrapAdd(Column(m, 2, x, y, z), m[14]);
    outX = rx;
    outY = ry;
    outZ = rz;
}

void TransformDirection(int32_t& outX, int32_t& outY, int32_t& outZ, int32_t x, int32_t y,
                        int32_t z, const VMatrix& m) {
    const int32_t rx = Column(m, 0, x, y, z);
    const int32_t ry = Column(m, 1, x, y, z);
    const int32_t rz = Column(m, 2, x, y, z);
    outX = rx;
    outY = ry;
    outZ = rz;
}
