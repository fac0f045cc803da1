#include "platform/win32/resource_table_win32.h"

#include <windows.h>

namespace {

// Resource type names are plain ASCII words; anything longer than this is no name of ours.
constexpr size_t kTypeCapacity = 64;

}  // namespace

bool FindModuleResource(uintptr_t module, const char* type, uint32_t id, const uint8_t** data,
                        size_t* size) {
    if (type == nullptr || id > 0xFFFF) return false;
    wchar_t wideType[kTypeCapacity];
    size_t n = 0;
    for (; type[n] != 0; ++n) {
        if (n + 1 >= kTypeCapacity || static_cast<unsigned char>(type[n]) >= 0x80) return false;
        wideType[n] = wchar_t(type[n]);
    }
    wideType[n] = 0;
    HMODULE handle = module != 0 ? reinterpret_cast<HMODULE>(module) : GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(handle, MAKEINTRESOURCEW(id), wideType);
    if (found == nullptr) return false;
    HGLOBAL loaded = LoadResource(handle, found);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return false;
    *data = static_cast<const uint8_t*>(bytes);
    *size = SizeofResource(handle, found);
    return true;
}

VWin32ResourceTable::VWin32ResourceTable(const VWin32ResourceName* names, size_t count,
                                         VResource* entries, VResourceModule* module) {
    size_t found = 0;
    for (size_t i = 0; i < count; ++i) {
        VResource& entry = entries[found];
        if (!FindModuleResource(0, names[i].type, names[i].id, &entry.data, &entry.size)) continue;
        entry.type = names[i].type;
        entry.id = names[i].id;
        ++found;
    }
    module->entries = entries;
    module->count = found;
    VResourceRegistration registration(module);
}
