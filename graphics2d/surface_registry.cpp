#include "graphics2d/surface_registry.h"

#include "fileio/memory.h"
#include "graphics2d/surface_base.h"

VSurfaceRegistry::~VSurfaceRegistry() {
    MemFree(slots_);
}

bool VSurfaceRegistry::Add(V2DSurfaceBase* surface) {
    if (Contains(surface)) return true;
    for (uint32_t i = 0; i < capacity_; ++i) {
        if (slots_[i] == nullptr) {
            slots_[i] = surface;
            return true;
        }
    }
    const uint32_t grown = capacity_ + kGrowth;
    auto* slots = static_cast<V2DSurfaceBase**>(MemAlloc(grown * sizeof(V2DSurfaceBase*)));
    if (slots == nullptr) return false;
    for (uint32_t i = 0; i < grown; ++i) slots[i] = i < capacity_ ? slots_[i] : nullptr;
    slots[capacity_] = surface;
    MemFree(slots_);
    slots_ = slots;
    capacity_ = grown;
    return true;
}

void VSurfaceRegistry::Remove(V2DSurfaceBase* surface) {
    for (uint32_t i = 0; i < capacity_; ++i)
        if (slots_[i] == surface) slots_[i] = nullptr;
}

bool VSurfaceRegistry::Contains(const V2DSurfaceBase* surface) const {
    for (uint32_t i = 0; i < capacity_; ++i)
        if (slots_[i] == surface) return true;
    return false;
}

void VSurfaceRegistry::FreeAll() {
    for (uint32_t i = 0; i < capacity_; ++i) {
        V2DSurfaceBase* s = slots_[i];
        if (s == nullptr) continue;
        s->Free();
        slots_[i] = nullptr;  // a surface that did not remove itself is dropped all the same
    }
    MemFree(slots_);
    slots_ = nullptr;
    capacity_ = 0;
}
