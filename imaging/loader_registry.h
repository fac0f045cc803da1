// VLoaderRegistry: the ordered loader slots a display owns, and the dispatch that tries them
// in registration order until one takes the data.
#pragma once

#include <cstdint>

#include "imaging/loader_base.h"

class VLoaderRegistry {
  public:
    static constexpr uint32_t SLOTS = 16;

    VLoaderRegistry() = default;
    VLoaderRegistry(const VLoaderRegistry&) = delete;
    VLoaderRegistry& operator=(const VLoaderRegistry&) = delete;
    // Deletes every registered loader through its virtual destructor.
    ~VLoaderRegistry();

    // False for a null loader or when every slot is taken; the caller then still owns the
    // loader. Otherwise the loader goes into the first empty slot and the registry owns it.
    bool RegisterLoader(ClassVLoaderBase* loader);
    uint32_t Count() const;

    // Each registered loader in turn; results 3 and 14 pass on to the next loader, any other
    // result is the result of the load. With no taker: the last 3 or 14, or 3 when no loader
    // was asked.
    uint32_t DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) const;
    uint32_t LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                       uint32_t b) const;

  private:
    template <typename Call>
    uint32_t Dispatch(Call call) const;

    ClassVLoaderBase* m_slots[SLOTS] = {};
};
