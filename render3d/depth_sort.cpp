#include "render3d/depth_sort.h"

#include <utility>

namespace {

// Moves entry i down the max-heap of the first count entries until its children are smaller.
void SiftDown(V3DSortEntry* e, uint32_t i, uint32_t count) {
    for (;;) {
        const uint64_t left = uint64_t(i) * 2 + 1;
        if (left >= count) return;
        uint32_t largest = uint32_t(left);
        if (left + 1 < count && e[left + 1].key > e[left].key) largest = uint32_t(left + 1);
        if (e[largest].key <= e[i].key) return;
        std::swap(e[i], e[largest]);
        i = largest;
    }
}

}  // namespace

void SortByDepth(V3DSortEntry* entries, uint32_t count) {
    if (count < 2) return;
    for (uint32_t i = count / 2; i-- > 0;) SiftDown(entries, i, count);
    for (uint32_t end = count - 1; end > 0; --end) {
        std::swap(entries[0], entries[end]);
        SiftDown(entries, 0, end);
    }
}
