#include "app/resource_lookup.h"

#include "platform/fatal_error.h"

VResourceData LookUpResource(const VResourceModule* module, const char* type, uint32_t id) {
    VResourceData found{nullptr, 0};
    if (!FindResource(module, type, id, &found.data, &found.size)) {
        PlatformFatalError(kResourceMissingText, kResourceMissingCaption, kResourceMissingExitCode);
    }
    return found;
}
