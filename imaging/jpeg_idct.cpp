#include "imaging/jpeg_idct.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <emmintrin.h>
#define VANE_JPEG_IDCT_X86 1
#endif

namespace {

// The constants, scaled by 2^13.
constexpr uint32_t FIX_0_298631336 = 2446;
constexpr uint32_t FIX_0_390180644 = 3196;
constexpr uint32_t FIX_0_541196100 = 4433;
constexpr uint32_t FIX_0_765366865 = 6270;
constexpr uint32_t FIX_0_899976223 = 7373;
constexpr uint32_t FIX_1_175875602 = 9633;
constexpr uint32_t FIX_1_501321110 = 12299;
constexpr uint32_t FIX_1_847759065 = 15137;
constexpr uint32_t FIX_1_961570560 = 16069;
constexpr uint32_t FIX_2_053119869 = 16819;
constexpr uint32_t FIX_2_562915447 = 20995;
constexpr uint32_t FIX_3_072711026 = 25172;
constexpr uint32_t CONST_BITS = 13;
constexpr uint32_t COLUMN_SHIFT = 11;
constexpr uint32_t ROW_SHIFT = 18;

#define VANE_INLINE inline __attribute__((always_inline))

// One 8-point transform on U, which is uint32_t or a vector of uint32_t lanes (S the signed
// type of the same shape), so that the scalar rule and the vector versions are one text.
// Everything wraps in 32 bits; only the descaling shift is arithmetic.
template <class U, class S>
VANE_INLINE void Transform8(const U in[8], U out[8], uint32_t shift) {
    // Even part.
    U z2 = in[2], z3 = in[6];
    U z1 = (z2 + z3) * FIX_0_541196100;
    const U tmp2e = z1 - z3 * FIX_1_847759065;
    const U tmp3e = z1 + z2 * FIX_0_765366865;
    z2 = in[0];
    z3 = in[4];
    const U tmp0e = (z2 + z3) << CONST_BITS;
    const U tmp1e = (z2 - z3) << CONST_BITS;
    const U tmp10 = tmp0e + tmp3e, tmp13 = tmp0e - tmp3e;
    const U tmp11 = tmp1e + tmp2e, tmp12 = tmp1e - tmp2e;

    // Odd part.
    U tmp0 = in[7], tmp1 = in[5], tmp2 = in[3], tmp3 = in[1];
    z1 = tmp0 + tmp3;
    z2 = tmp1 + tmp2;
    z3 = tmp0 + tmp2;
    U z4 = tmp1 + tmp3;
    const U z5 = (z3 + z4) * FIX_1_175875602;
    tmp0 = tmp0 * FIX_0_298631336;
    tmp1 = tmp1 * FIX_2_053119869;
    tmp2 = tmp2 * FIX_3_072711026;
    tmp3 = tmp3 * FIX_1_501321110;
    z1 = z1 * (0u - FIX_0_899976223);
    z2 = z2 * (0u - FIX_2_562915447);
    z3 = z3 * (0u - FIX_1_961570560) + z5;
    z4 = z4 * (0u - FIX_0_390180644) + z5;
    tmp0 += z1 + z3;
    tmp1 += z2 + z4;
    tmp2 += z2 + z3;
    tmp3 += z1 + z4;

    const uint32_t half = 1u << (shift - 1);
    out[0] = U(S(tmp10 + tmp3 + half) >> shift);
    out[7] = U(S(tmp10 - tmp3 + half) >> shift);
    out[1] = U(S(tmp11 + tmp2 + half) >> shift);
    out[6] = U(S(tmp11 - tmp2 + half) >> shift);
    out[2] = U(S(tmp12 + tmp1 + half) >> shift);
    out[5] = U(S(tmp12 - tmp1 + half) >> shift);
    out[3] = U(S(tmp13 + tmp0 + half) >> shift);
    out[4] = U(S(tmp13 - tmp0 + half) >> shift);
}

inline uint8_t Limit(int32_t sample) {
    return uint8_t(sample < 0 ? 0 : sample > 255 ? 255 : sample);
}

typedef uint32_t U32x4 __attribute__((vector_size(16)));
typedef int32_t S32x4 __attribute__((vector_size(16)));
typedef uint32_t U32x8 __attribute__((vector_size(32)));
typedef int32_t S32x8 __attribute__((vector_size(32)));
typedef uint8_t U8x8 __attribute__((vector_size(8)));

// Eight samples of a row from two vectors of four (before 128 is added): 128 added, limited
// to 0..255, stored as bytes.
VANE_INLINE void StoreRow(U32x4 left, U32x4 right, uint8_t* out) {
    const S32x4 a = S32x4(left) + 128, b = S32x4(right) + 128;
#ifdef VANE_JPEG_IDCT_X86
    // The two saturating packs limit to 0..255 on their way.
    __m128i lo, hi;
    std::memcpy(&lo, &a, 16);
    std::memcpy(&hi, &b, 16);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out),
                     _mm_packus_epi16(_mm_packs_epi32(lo, hi), _mm_setzero_si128()));
#else
    S32x8 s = __builtin_shufflevector(a, b, 0, 1, 2, 3, 4, 5, 6, 7);
    s = s < 0 ? 0 : s;
    s = s > 255 ? 255 : s;
    const U8x8 bytes = __builtin_convertvector(s, U8x8);
    std::memcpy(out, &bytes, 8);
#endif
}

// Four vectors of four lanes, rows become columns.
VANE_INLINE void Transpose4(U32x4& a, U32x4& b, U32x4& c, U32x4& d) {
    const U32x4 ab0 = __builtin_shufflevector(a, b, 0, 4, 1, 5);
    const U32x4 ab1 = __builtin_shufflevector(a, b, 2, 6, 3, 7);
    const U32x4 cd0 = __builtin_shufflevector(c, d, 0, 4, 1, 5);
    const U32x4 cd1 = __builtin_shufflevector(c, d, 2, 6, 3, 7);
    a = __builtin_shufflevector(ab0, cd0, 0, 1, 4, 5);
    b = __builtin_shufflevector(ab0, cd0, 2, 3, 6, 7);
    c = __builtin_shufflevector(ab1, cd1, 0, 1, 4, 5);
    d = __builtin_shufflevector(ab1, cd1, 2, 3, 6, 7);
}

// Four lanes at a time: columns 0-3 and 4-7 go down together, the intermediate rows are
// turned into columns four by four, and the rows go along in two groups of four.
void IdctFourLanes(const int32_t* coefficients, uint8_t* out, uint32_t stride) {
    U32x4 left[8], right[8];
    for (uint32_t u = 0; u < 8; ++u) {
        std::memcpy(&left[u], coefficients + u * 8, 16);
        std::memcpy(&right[u], coefficients + u * 8 + 4, 16);
    }
    U32x4 wl[8], wr[8];
    Transform8<U32x4, S32x4>(left, wl, COLUMN_SHIFT);
    Transform8<U32x4, S32x4>(right, wr, COLUMN_SHIFT);

    for (uint32_t group = 0; group < 2; ++group) {
        // in[x] holds, for the four rows of the group, the intermediate values at column x.
        U32x4 in[8];
        for (uint32_t i = 0; i < 4; ++i) {
            in[i] = wl[group * 4 + i];
            in[4 + i] = wr[group * 4 + i];
        }
        Transpose4(in[0], in[1], in[2], in[3]);
        Transpose4(in[4], in[5], in[6], in[7]);
        U32x4 result[8];
        Transform8<U32x4, S32x4>(in, result, ROW_SHIFT);
        Transpose4(result[0], result[1], result[2], result[3]);
        Transpose4(result[4], result[5], result[6], result[7]);
        for (uint32_t i = 0; i < 4; ++i) {
            StoreRow(result[i], result[4 + i], out + (group * 4 + i) * stride);
        }
    }
}

#ifdef VANE_JPEG_IDCT_X86
// Eight vectors of eight lanes, rows become columns: pairs of lanes, then pairs of pairs
// within each half, then the halves.
VANE_INLINE void Transpose8(U32x8 v[8]) {
    U32x8 t[8], u[8];
    for (int i = 0; i < 4; ++i) {
        t[2 * i] = __builtin_shufflevector(v[2 * i], v[2 * i + 1], 0, 8, 1, 9, 4, 12, 5, 13);
        t[2 * i + 1] = __builtin_shufflevector(v[2 * i], v[2 * i + 1], 2, 10, 3, 11, 6, 14, 7, 15);
    }
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            const U32x8& a = t[4 * i + j];
            const U32x8& b = t[4 * i + j + 2];
            u[4 * i + 2 * j] = __builtin_shufflevector(a, b, 0, 1, 8, 9, 4, 5, 12, 13);
            u[4 * i + 2 * j + 1] = __builtin_shufflevector(a, b, 2, 3, 10, 11, 6, 7, 14, 15);
        }
    }
    for (int i = 0; i < 4; ++i) {
        v[i] = __builtin_shufflevector(u[i], u[i + 4], 0, 1, 2, 3, 8, 9, 10, 11);
        v[i + 4] = __builtin_shufflevector(u[i], u[i + 4], 4, 5, 6, 7, 12, 13, 14, 15);
    }
}

// With AVX2 all eight columns go down at once, and all eight rows along.
__attribute__((target("avx2"))) void IdctEightLanes(const int32_t* coefficients, uint8_t* out,
                                                    uint32_t stride) {
    U32x8 rows[8], work[8], result[8];
    for (uint32_t u = 0; u < 8; ++u) std::memcpy(&rows[u], coefficients + u * 8, 32);
    Transform8<U32x8, S32x8>(rows, work, COLUMN_SHIFT);
    Transpose8(work);
    Transform8<U32x8, S32x8>(work, result, ROW_SHIFT);
    Transpose8(result);
    for (uint32_t y = 0; y < 8; ++y) {
        U32x4 left, right;
        std::memcpy(&left, &result[y], 16);
        std::memcpy(&right, reinterpret_cast<const uint8_t*>(&result[y]) + 16, 16);
        StoreRow(left, right, out + y * stride);
    }
}
#endif

}  // namespace

void JpegIdctReference(const int32_t* coefficients, uint8_t* out, uint32_t stride) {
    uint32_t work[64];
    for (uint32_t column = 0; column < 8; ++column) {
        uint32_t in[8], result[8];
        for (uint32_t u = 0; u < 8; ++u) in[u] = uint32_t(coefficients[u * 8 + column]);
        Transform8<uint32_t, int32_t>(in, result, COLUMN_SHIFT);
        for (uint32_t y = 0; y < 8; ++y) work[y * 8 + column] = result[y];
    }
    for (uint32_t y = 0; y < 8; ++y) {
        uint32_t result[8];
        Transform8<uint32_t, int32_t>(work + y * 8, result, ROW_SHIFT);
        for (uint32_t x = 0; x < 8; ++x) out[y * stride + x] = Limit(int32_t(result[x]) + 128);
    }
}

uint32_t JpegIdctVersions(JpegIdctFunction versions[2]) {
    uint32_t count = 0;
    versions[count++] = IdctFourLanes;
#ifdef VANE_JPEG_IDCT_X86
    if (__builtin_cpu_supports("avx2")) versions[count++] = IdctEightLanes;
#endif
    return count;
}

JpegIdctFunction JpegIdctForThisProcessor() {
    JpegIdctFunction versions[2];
    return versions[JpegIdctVersions(versions) - 1];
}
