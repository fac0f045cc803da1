// Program resources: blocks of bytes compiled into the program, found by type name and id.
//
// A resource module is a table of entries. The running program's own table registers itself
// (see VResourceRegistration) and is what ProgramResources() returns; a platform layer hands
// it to the framework as the program's module handle. Tests and tools may build tables of
// their own and pass them wherever a module is expected.
#pragma once

#include <cstddef>
#include <cstdint>

struct VResource {
    const char* type;  // type name, e.g. "IMAGES", "WAVE"
    uint32_t id;
    const uint8_t* data;
    size_t size;
};

struct VResourceModule {
    const VResource* entries;
    size_t count;
};

// Finds the resource of the given type (compared exactly) and id in a module. Returns false
// and leaves the outputs untouched when the module is null or holds no such resource.
bool FindResource(const VResourceModule* module, const char* type, uint32_t id,
                  const uint8_t** data, size_t* size);

// The running program's resource module; an empty module when the program has none.
const VResourceModule* ProgramResources();

// A static object of this type in the program's generated resource source makes that table
// the program's module before main() runs.
struct VResourceRegistration {
    explicit VResourceRegistration(const VResourceModule* module);
};
