#include "graphics2d/blitter_table.h"

#include "graphics2d/blit_loops.h"

namespace {

template <class T, uint32_t... Flags>
void PutCompiledRules(VBlitterTable* table) {
    ((table->effect[Flags] = &TableRuleLoop<T, Flags>), ...);
}

template <class T, uint32_t... Flags>
void PutShiftBlends(VBlitterTable* table) {
    ((table->effect[Flags] = &TableShiftLoop<T, Flags>), ...);
}

template <class T>
void InstallFor(VBlitterTable* table) {
    // The general rule compiled per effect: the same bytes as the general loop.
    PutCompiledRules<T, 1, 3, 4, 5, 8, 9, 16, 17, 32, 33>(table);
    // Rules of their own: the shift blends, which give other bytes than the opacity rule.
    PutShiftBlends<T, BLIT_SHIFT_SOURCE, BLIT_SHIFT_SOURCE | BLIT_KEY, BLIT_SHIFT_DEST,
                   BLIT_SHIFT_DEST | BLIT_KEY>(table);
    table->stepped[0] = &SteppedCopy<T, false>;
    table->stepped[1] = &SteppedCopy<T, true>;
}

}  // namespace

void InstallBlitterTable(VBlitterTable* table, uint8_t format) {
    *table = VBlitterTable{};
    table->format = format;
    // Formats 3 and 5 get none: the display never keeps its buffer in them.
    switch (format) {
        case VPIXELFORMAT_8:
            InstallFor<VFormat8>(table);
            break;
        case VPIXELFORMAT_444:
            InstallFor<VFormat444>(table);
            break;
        case VPIXELFORMAT_565:
            InstallFor<VFormat565>(table);
            break;
        case VPIXELFORMAT_X888:
            InstallFor<VFormatX888>(table);
            break;
        default:
            break;
    }
}
