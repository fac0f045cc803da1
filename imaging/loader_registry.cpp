#include "imaging/loader_registry.h"

VLoaderRegistry::~VLoaderRegistry() {
    for (ClassVLoaderBase*& loader : m_slots) {
        delete loader;
        loader = nullptr;
    }
}

bool VLoaderRegistry::RegisterLoader(ClassVLoaderBase* loader) {
    if (loader == nullptr) return false;
    for (ClassVLoaderBase*& slot : m_slots) {
        if (slot == nullptr) {
            slot = loader;
            return true;
        }
    }
    return false;
}

uint32_t VLoaderRegistry::Count() const {
    uint32_t count = 0;
    for (const ClassVLoaderBase* loader : m_slots) count += loader != nullptr ? 1 : 0;
    return count;
}

template <typename Call>
uint32_t VLoaderRegistry::Dispatch(Call call) const {
    uint32_t result = VLOAD_NOTTHISFORMAT;
    for (ClassVLoaderBase* loader : m_slots) {
        if (loader == nullptr) continue;
        result = call(loader);
        if (result != VLOAD_NOTTHISFORMAT && result != VLOAD_PASSON) return result;
    }
    return result;
}

uint32_t VLoaderRegistry::DecodeImage(V2DSurfaceBase* surface, const uint8_t* data, uint32_t size,
                                      uint8_t defaultformat, uint32_t flags) const {
    return Dispatch([&](ClassVLoaderBase* loader) {
        return loader->DecodeImage(surface, data, size, defaultformat, flags);
    });
}

uint32_t VLoaderRegistry::LoadModel(V3DModel* model, const uint8_t* data, uint32_t size, uint32_t a,
                                    uint32_t b) const {
    return Dispatch(
        [&](ClassVLoaderBase* loader) { return loader->LoadModel(model, data, size, a, b); });
}
