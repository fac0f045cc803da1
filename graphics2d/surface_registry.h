// The display's list of every surface created for it, so that they can be freed and turned
// together. Starts with 32 empty slots and grows by 32 when full; a surface takes the first
// empty slot and removal empties its slot.
#pragma once

#include <cstdint>

class V2DSurfaceBase;

class VSurfaceRegistry {
  public:
    static constexpr uint32_t kGrowth = 32;

    VSurfaceRegistry() = default;
    VSurfaceRegistry(const VSurfaceRegistry&) = delete;
    VSurfaceRegistry& operator=(const VSurfaceRegistry&) = delete;
    ~VSurfaceRegistry();

    // False when out of memory. A surface already listed is not listed twice.
    bool Add(V2DSurfaceBase* surface);
    void Remove(V2DSurfaceBase* surface);
    bool Contains(const V2DSurfaceBase* surface) const;

    uint32_t Capacity() const { return capacity_; }
    // The slot's surface or null; slots may empty while a caller walks them.
    V2DSurfaceBase* At(uint32_t slot) const { return slot < capacity_ ? slots_[slot] : nullptr; }

    // Frees every listed surface (each removes itself) and releases the list.
    void FreeAll();

  private:
    V2DSurfaceBase** slots_ = nullptr;
    uint32_t capacity_ = 0;
};
