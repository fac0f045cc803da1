#include "math/math_tables.h"

#include "fileio/memory.h"
#include "math/quarter_wave.h"

ClassVMathTables::~ClassVMathTables() {
    FreeTables();
}

void ClassVMathTables::BuildTables() {
    FreeTables();
    auto* t = static_cast<int32_t*>(MemAlloc(kTableSize * sizeof(int32_t)));
    if (t == nullptr) return;
    // First quarter rising, second quarter the same values falling (so T[1023] = T[1024] =
    // 65536 and T[2047] = 0), the second half the negated first half, and one more rising
    // quarter for the cosine's last quarter turn.
    for (int i = 0; i < 1024; ++i) {
        t[i] = kQuarterWave[i];
        t[1024 + i] = kQuarterWave[1023 - i];
    }
    for (int i = 0; i < 2048; ++i) t[2048 + i] = -t[i];
    for (int i = 0; i < 1024; ++i) t[4096 + i] = kQuarterWave[i];
    sine_ = t;
    cosine_ = t + 1024;
}

void ClassVMathTables::FreeTables() {
    MemFree(sine_);
    sine_ = nullptr;
    cosine_ = nullptr;
}

int32_t ClassVMathTables::Sin(int32_t angle) const {
    return sine_ != nullptr ? sine_[angle & 4095] : 0;
}

int32_t ClassVMathTables::Cos(int32_t angle) const {
    return cosine_ != nullptr ? cosine_[angle & 4095] : 0;
}

int32_t ClassVMathTables::Tan(int32_t angle) const {
    if (sine_ == nullptr || cosine_ == nullptr) return 0;
    const int32_t turn = angle & 4095;
    if (turn == 1024) return 0x7FFFFFFF;
    if (turn == 3072) return -0x7FFFFFFF;
    // The sine as 2.30 over the cosine as 2.14 gives 16.16. Table values are at most 65536
    // in magnitude, so the shifted sine stays within 2^30; a cosine that is not 0 after its
    // shift is at least 25 in magnitude, so the quotient stays within 2^30 / 25.
    const int32_t cosine = Cos(angle) >> 2;
    if (cosine == 0) return 0x7FFFFFFF;
    return (Sin(angle) << 14) / cosine;
}
