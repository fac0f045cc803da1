#include "fileio/md5.h"

#include <cstdint>
#include <cstring>

namespace {

// Per-step shift amounts and sine-derived constants of RFC 1321, in step order.
constexpr uint8_t kShift[64] = {7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
                                5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
                                4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
                                6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21};

constexpr uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391};

uint32_t RotateLeft(uint32_t x, int n) {
    return (x << n) | (x >> (32 - n));
}

uint32_t LoadLittle32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// Folds one 64-byte block into the state.
void Transform(uint32_t state[4], const uint8_t* block) {
    uint32_t words[16];
    for (int i = 0; i < 16; ++i) words[i] = LoadLittle32(block + i * 4);
    uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    for (int step = 0; step < 64; ++step) {
        uint32_t f;
        int word;
        switch (step / 16) {
            case 0:
                f = (b & c) | (~b & d);
                word = step;
                break;
            case 1:
                f = (d & b) | (~d & c);
                word = (5 * step + 1) % 16;
                break;
            case 2:
                f = b ^ c ^ d;
                word = (3 * step + 5) % 16;
                break;
            default:
                f = c ^ (b | ~d);
                word = (7 * step) % 16;
                break;
        }
        const uint32_t rotated = RotateLeft(a + f + kSine[step] + words[word], kShift[step]);
        a = d;
        d = c;
        c = b;
        b += rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

}  // namespace

void MD5Hex(char* destination, const void* data, size_t length) {
    uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
    const auto* bytes = static_cast<const uint8_t*>(data);
    const size_t whole = length - length % 64;
    for (size_t offset = 0; offset < whole; offset += 64) Transform(state, bytes + offset);

    // The tail: the remaining bytes, a 0x80 byte, zeros up to 56 bytes modulo 64, then the
    // length in bits as a little-endian 64-bit number. One or two blocks.
    uint8_t tail[128] = {};
    const size_t rest = length - whole;
    if (rest > 0) std::memcpy(tail, bytes + whole, rest);
    tail[rest] = 0x80;
    const size_t tailLength = rest < 56 ? 64 : 128;
    const uint64_t bits = static_cast<uint64_t>(length) * 8;
    for (int i = 0; i < 8; ++i) tail[tailLength - 8 + i] = static_cast<uint8_t>(bits >> (8 * i));
    for (size_t offset = 0; offset < tailLength; offset += 64) Transform(state, tail + offset);

    static constexpr char kHex[] = "0123456789abcdef";
    for (int i = 0; i < 16; ++i) {
        const uint8_t byte = static_cast<uint8_t>(state[i / 4] >> (8 * (i % 4)));
        destination[i * 2] = kHex[byte >> 4];
        destination[i * 2 + 1] = kHex[byte & 0x0F];
    }
    destination[32] = 0;
}
