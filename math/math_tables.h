// The sine and cosine tables of the 3D math service.
//
// Angles run 4096 units to the full turn (1024 = a quarter turn); only the low 12 bits of
// an angle count, so negative and large angles wrap. Table values are 16.16 fixed point
// (65536 = 1.0).
//
// The quarter wave is built from 3.14 rather than pi, so it reaches 1.0 only at its last
// entry, which is set to 65536 outright: Sin(1) is 100, and Sin(1023) = Sin(1024) = 65536.
// Models, rotations and the demo's motion were tuned to these exact values.
#pragma once

#include <cstdint>

class ClassVMathTables {
  public:
    // Entries of the full table: one turn of sine plus a quarter turn, so that the cosine
    // (the sine a quarter turn later) can be indexed with any angle & 4095.
    static constexpr int kTableSize = 5120;

    ClassVMathTables() = default;
    ~ClassVMathTables();
    ClassVMathTables(const ClassVMathTables&) = delete;
    ClassVMathTables& operator=(const ClassVMathTables&) = delete;

    // Frees an existing table, then allocates and fills a new one. When memory runs out both
    // tables stay absent and Sin, Cos and Tan return 0.
    void BuildTables();
    void FreeTables();

    // 16.16 values; 0 when the tables are absent.
    int32_t Sin(int32_t angle) const;
    int32_t Cos(int32_t angle) const;
    // 16.16; 0 when the tables are absent. Where the cosine vanishes the result is
    // 0x7FFFFFFF, except at three quarters of a turn, which gives 0x80000001 (-0x7FFFFFFF).
    int32_t Tan(int32_t angle) const;

    // The full tables, null when absent; the cosine table points 1024 entries into the sine
    // table.
    const int32_t* SineTable() const { return sine_; }
    const int32_t* CosineTable() const { return cosine_; }

  private:
    int32_t* sine_ = nullptr;
    int32_t* cosine_ = nullptr;
};
