// The demo's one way to reach its compiled-in resources.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/resources.h"

// The bytes of one resource, as compiled into the program.
struct VResourceData {
    const uint8_t* data;
    size_t size;
};

// The message and caption the demo ends with when a resource is missing, and its exit code.
inline constexpr const char* kResourceMissingText = "Ошибка загрузки данных из ресурса";
inline constexpr const char* kResourceMissingCaption = "Fatal Error";
inline constexpr int kResourceMissingExitCode = -1;

// Finds the resource of the given type and id in module. The demo cannot run without any of
// its resources, so a missing one ends the program at once through PlatformFatalError;
// whenever this returns, the data exists.
VResourceData LookUpResource(const VResourceModule* module, const char* type, uint32_t id);
