// Fixed-point 4x4 matrices and the transforms of points and directions.
//
// A matrix is 16 int32 in row order, element k at row k / 4, column k % 4. Points are row
// vectors multiplied from the left: (x, y, z) becomes x * row 0 + y * row 1 + z * row 2 +
// row 3. The upper-left 3x3 holds rotation and scale in 20.12 (4096 = 1.0); elements 12, 13
// and 14 hold the translation in whole model units. The fourth column is never read.
//
// Every product of an element and a coordinate is 32-bit and is shifted right (arithmetic,
// so rounding toward minus infinity) by 12 before the products are summed. Products and sums
// that leave the 32-bit range wrap, as on the 32-bit processors the formats were made for:
// results are exact only while every |element * coordinate| stays below 2^31.
#pragma once

#include <array>
#include <cstdint>

class ClassVMathTables;

using VMatrix = std::array<int32_t, 16>;

// 4096 on the diagonal (elements 0, 5, 10, 15), 0 elsewhere.
void MatrixIdentity(VMatrix& m);

// Writes the upper-left 3x3 of m: a rotation about the x axis by ax, then about the y axis by
// ay, then about the z axis by az (4096 units a turn). The other elements are left as they
// are, so callers start from an identity. Without math tables the 3x3 becomes zero.
void MatrixRotation(const ClassVMathTables& math, int32_t ax, int32_t ay, int32_t az, VMatrix& m);

// Writes the translation elements 12, 13 and 14.
void MatrixTranslation(int32_t x, int32_t y, int32_t z, VMatrix& m);

// a becomes b followed by a: transforming a point by the new a equals transforming it by b
// and then by the old a (up to the truncation of the products). a and b may be the same
// matrix. Elements 3, 7 and 11 of the result are 0; element 15 is left as it is.
void MatrixMultiply(VMatrix& a, const VMatrix& b);

// m becomes its inverse, assuming its 3x3 part is a pure rotation: the result first removes
// the old translation, then applies the transposed rotation.
void MatrixInvertRigid(VMatrix& m);

// (outX, outY, outZ) = (x, y, z) transformed by m, translation included.
void TransformPoint(int32_t& outX, int32_t& outY, int32_t& outZ, int32_t x, int32_t y, int32_t z,
                    const VMatrix& m);

// The same without the translation, for normals and other directions.
void TransformDirection(int32_t& outX, int32_t& outY, int32_t& outZ, int32_t x, int32_t y,
                        int32_t z, const VMatrix& m);
