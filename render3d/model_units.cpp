#include "render3d/model_units.h"

#include "math/fixed_point.h"
#include "math/wrap_arith.h"

int32_t MultiplyByPowerOfTwo(int32_t value, int32_t exponent) {
    if (exponent <= -31) return value >> 31;
    if (exponent < 0) return value >> -exponent;
    if (exponent >= 32) return 0;
    return int32_t(uint32_t(value) << exponent);
}

int32_t ModelCoordinate(uint32_t floatBits, int8_t scale) {
    int32_t p = FloatToFixed(floatBits, 12);
    if ((p & 0xFFF) > 4094) p = WrapAdd(p, 1);
    if ((p & 0xFFF) == 1) p = WrapSub(p, 1);
    return MultiplyByPowerOfTwo(p, int32_t(scale) - 6);
}

int32_t SnapTexCoord(int32_t t) {
    if ((t & 0xFFFF) > 65534) t = WrapAdd(t, 1);
    if ((t & 0xFFFF) == 1) t = WrapSub(t, 1);
    return t;
}

int32_t TexCoordPlusOneLength(uint32_t floatBits) {
    return SnapTexCoord(WrapAdd(FloatToFixed(floatBits, 16), 0x10000));
}
