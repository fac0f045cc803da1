// What a surface consults of the display it was created for: the orientation, the configured
// memory kind, the blitter table, the palette services, the surface registry, the image
// loaders and the sine tables of free turns. The display device implements this interface;
// VSurfaceServices (surface_services.h) is a complete implementation it can own or extend.
#pragma once

#include <cstdint>

#include "graphics2d/orientation.h"

class ClassVMathTables;
class V2DSurfaceBase;
class VDisplayPalette;
class VSurfaceRegistry;
struct VBlitterTable;

// Memory kinds (bits 0-3 of the creation flags).
constexpr uint32_t VSURFACE_DEFAULT = 0;
constexpr uint32_t VSURFACE_SYSTEM = 1;
constexpr uint32_t VSURFACE_VIDEO = 2;
constexpr uint32_t VSURFACE_VIDEO3 = 3;

class VSurfaceOwner {
  public:
    virtual ~VSurfaceOwner() = default;

    virtual VOrientation SurfaceOrientation() const = 0;
    // The memory kind a creation with VSURFACE_DEFAULT takes.
    virtual uint32_t DefaultMemoryKind() const = 0;
    // The fast loops for the display's buffer format; null while none is installed.
    virtual const VBlitterTable* BlitterTable() const = 0;
    virtual VDisplayPalette& Palette() = 0;
    virtual VSurfaceRegistry& Registry() = 0;
    // The sine and cosine tables freely turned and scaled blits turn with (the application's
    // 3D math service, so that pictures and models turn alike); null when none was given.
    virtual const ClassVMathTables* TurnTables() const = 0;

    // Decodes data into surface with the display's image loaders, tried in registration order
    // until one takes the data (VLoaderRegistry::DecodeImage does exactly this); the result of
    // the load, or 3 when no loader is registered.
    virtual uint32_t DecodeImage(V2DSurfaceBase& surface, const uint8_t* data, uint32_t size,
                                 uint8_t defaultformat, uint32_t flags) = 0;
};
