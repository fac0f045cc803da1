// The program's resources on Windows: the files of a resource list are compiled into the
// executable as Windows resources (a resource script made from the list, windres), and at
// start-up a table of the listed names is filled from the executable through FindResourceW,
// LoadResource and SizeofResource and registered as the program's resource module, so that
// FindResource and ProgramResources (platform/resources.h) answer as on every other system.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/resources.h"

struct VWin32ResourceName {
    const char* type;  // a named type ("IMAGES", "WAVE"); icons are reached through LoadIconW
    uint32_t id;
};

// The bytes of resource type/id in the module (an instance or module handle; 0 is the
// executable). False when the module holds no such resource.
bool FindModuleResource(uintptr_t module, const char* type, uint32_t id, const uint8_t** data,
                        size_t* size);

// A static object of this type in the generated resource source: fills entries (count places)
// with every name the executable holds, sets module to them and registers it.
struct VWin32ResourceTable {
    VWin32ResourceTable(const VWin32ResourceName* names, size_t count, VResource* entries,
                        VResourceModule* module);
};
