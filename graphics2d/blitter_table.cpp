#include "graphics2d/blitter_table.h"

#include "graphics2d/blit_loops.h"

namespace {

template <class T, uint32_t... Flags>
void Put(VBlitterTable* table) {
    ((table->effect[Flags] = &BlitFast<T, Flags>), ...);
}

template <class T>
void InstallSteppedCopies(VBlitterTable* table) {
    table->stepped[0] = &SteppedCopy<T, false>;
    table->stepped[1] = &SteppedCopy<T, true>;
}

// Direct-colour formats: every effect of the table has its own loop.
template <class T>
void InstallDirect(VBlitterTable* table) {
    Put<T, 1, 3, 4, 5, 8, 9, 16, 17, 32, 33, 64, 65, 128, 129>(table);
    InstallSteppedCopies<T>(table);
}

}  // namespace

void InstallBlitterTable(VBlitterTable* table, uint8_t format) {
    *table = VBlitterTable{};
    table->format = format;
    switch (format) {
        case VPIXELFORMAT_8:
            // Palette indices: mixes and opacities have no meaning and copy the source.
            Put<VFormat8, 1, 3, 4, 5, 8, 9, 16, 17, 32, 33, 64, 65, 128, 129>(table);
            InstallSteppedCopies<VFormat8>(table);
            break;
        case VPIXELFORMAT_444:
            InstallDirect<VFormat444>(table);
            break;
        case VPIXELFORMAT_565:
            InstallDirect<VFormat565>(table);
            break;
        case VPIXELFORMAT_X888:
            InstallDirect<VFormatX888>(table);
            break;
        default:
            break;
    }
}
