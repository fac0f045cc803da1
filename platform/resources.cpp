#include "platform/resources.h"

#include <cstring>

namespace {

// Held in a function-local static so that registration from another translation unit's
// static initialiser never runs before this storage exists.
const VResourceModule*& ProgramModuleCell() {
    static const VResourceModule kEmpty{nullptr, 0};
    static const VResourceModule* cell = &kEmpty;
    return cell;
}

}  // namespace

bool FindResource(const VResourceModule* module, const char* type, uint32_t id,
                  const uint8_t** data, size_t* size) {
    if (module == nullptr || type == nullptr) return false;
    for (size_t i = 0; i < module->count; ++i) {
        const VResource& r = module->entries[i];
        if (r.id == id && std::strcmp(r.type, type) == 0) {
            if (data) *data = r.data;
            if (size) *size = r.size;
            return true;
        }
    }
    return false;
}

const VResourceModule* ProgramResources() {
    return ProgramModuleCell();
}

VResourceRegistration::VResourceRegistration(const VResourceModule* module) {
    if (module != nullptr) ProgramModuleCell() = module;
}
