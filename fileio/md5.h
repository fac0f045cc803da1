// MD5 message digest (RFC 1321) in text form.
#pragma once

#include <cstddef>

// Capacity MD5Hex writes: 32 hexadecimal characters and a terminator.
constexpr size_t kMD5HexCapacity = 33;

// Writes the digest of length bytes at data as 32 lower-case hexadecimal characters, first
// digest byte first and high nibble first, then a terminator. data may be null when length is 0.
void MD5Hex(char* destination, const void* data, size_t length);
