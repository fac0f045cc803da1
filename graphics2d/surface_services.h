// VSurfaceServices: a complete VSurfaceOwner — orientation, memory kind, blitter table, palette
// services and surface registry — for the display device to own, and for tools and tests that
// draw without a display. Image loaders are added by overriding DecodeImage.
#pragma once

#include "graphics2d/blitter_table.h"
#include "graphics2d/display_palette.h"
#include "graphics2d/surface_owner.h"
#include "graphics2d/surface_registry.h"

class VSurfaceServices : public VSurfaceOwner {
  public:
    // format: the display's buffer format, for which the blitter table is installed.
    explicit VSurfaceServices(uint8_t format);
    ~VSurfaceServices() override;

    VOrientation SurfaceOrientation() const override { return orientation_; }
    uint32_t DefaultMemoryKind() const override { return memorykind_; }
    const VBlitterTable* BlitterTable() const override {
        return table_.format != 0 ? &table_ : nullptr;
    }
    VDisplayPalette& Palette() override { return palette_; }
    VSurfaceRegistry& Registry() override { return registry_; }
    const ClassVMathTables* TurnTables() const override { return turnTables_; }
    // No image loaders here: 3 (not supported) for any data.
    uint32_t DecodeImage(V2DSurfaceBase& surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override;

    void SetDefaultMemoryKind(uint32_t kind) { memorykind_ = kind; }
    // Not owned; they must outlive the surfaces that turn with them.
    void SetTurnTables(const ClassVMathTables* tables) { turnTables_ = tables; }
    // Installs the fast loops for format (0 removes them).
    void SetBlitterFormat(uint8_t format);
    // Switches to a new orientation and turns every registered surface, except skip (the
    // surfaces the display manages itself are rebuilt by it instead).
    void SetOrientation(const VOrientation& orientation, V2DSurfaceBase* const* skip = nullptr,
                        uint32_t skipcount = 0);

  private:
    VOrientation orientation_;
    uint32_t memorykind_ = VSURFACE_SYSTEM;
    VBlitterTable table_;
    VDisplayPalette palette_;
    VSurfaceRegistry registry_;
    const ClassVMathTables* turnTables_ = nullptr;
};
