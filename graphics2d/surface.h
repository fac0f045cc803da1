// V2DSurface: a rectangle of pixels in one of six pixel formats, stored in the display's
// physical orientation and addressed by callers in logical coordinates.
#pragma once

#include <cstddef>
#include <cstdint>

#include "graphics2d/blit_flags.h"
#include "graphics2d/orientation.h"
#include "graphics2d/pixel_format.h"
#include "graphics2d/pixel_rules.h"
#include "graphics2d/surface_frame.h"
#include "graphics2d/surface_layout.h"
#include "graphics2d/surface_model.h"
#include "graphics2d/surface_results.h"

struct VBlitTransform;
struct VPolygonVertex;
struct VSpanBuffers;

class V2DSurface : public V2DSurfaceFrame {
  public:
    V2DSurface() = default;
    V2DSurface(const V2DSurface&) = delete;
    V2DSurface& operator=(const V2DSurface&) = delete;
    ~V2DSurface() override;

    // --- Creation and lifetime (SetOwner and LoadImage: V2DSurfaceFrame) ---
    // Results (VSURF_..., surface_results.h): OK, BADFORMAT, OUTOFMEMORY, INVALID (a side of 0
    // or above 32767, a memory kind of 4 or more, no owner). Every memory kind is held in main
    // memory.
    uint32_t Create(uint32_t width, uint32_t height, uint8_t defaultformat, uint32_t flags);
    void Free() override;
    void ChangeOrientation(const VOrientation& previous) override;

    // --- Pixel access (size, clip rectangle and Unlock: V2DSurfaceFrame) ---
    // The pixel memory, or null when not created; fills info when not null.
    uint8_t* Lock(SurfaceLayout* info = nullptr);
    SurfaceLayout Layout() const;

    // --- Colour key ---
    void SetColorKey(uint32_t colour);
    uint32_t GetColorKey() const;

    // --- Loader interface ---
    uint32_t ImageInfo(const VLoaderState& state) override;
    uint32_t ImagePalette(VLoaderState& state) override;
    uint32_t ImagePixels(VLoaderState& state) override;

    // --- Drawing ---
    // Results: OK, NOTCREATED (either surface), OUTOFMEMORY (palette tables), NOTVISIBLE,
    // NOTHINGTODRAW (opacity quantised to zero), LOCKFAILED.
    uint32_t Blit(int32_t x, int32_t y, V2DSurface* source, const VRect* sourcerect, uint32_t flags,
                  uint32_t property);
    void PutPixel(int32_t x, int32_t y, uint32_t colour, uint32_t flags = 0, uint32_t property = 0);
    uint32_t GetPixel(int32_t x, int32_t y);
    void FillRect(const VRect* r, uint32_t colour, uint32_t flags = 0, uint32_t property = 0);
    void DrawHLine(int32_t x, int32_t y, int32_t length, uint32_t colour, uint32_t flags = 0,
                   uint32_t property = 0);
    void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour,
                  uint32_t flags = 0, uint32_t property = 0);

    // --- Polygons (polygon_fill.cpp) ---
    // Coordinates and texture positions are logical, 22.10 fixed point (1.0 = 1024); the *Int
    // forms take whole pixels. Flat triangles take every effect of FillRect; shaded triangles
    // read only VFILL_DITHER; textured ones every blit effect, the texture in this surface's
    // pixel format.
    void FillTriangle(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3, int32_t y3,
                      uint32_t colour, uint32_t flags = 0, uint32_t property = 0);
    void FillShadedTriangle(int32_t x1, int32_t y1, uint32_t colour1, int32_t x2, int32_t y2,
                            uint32_t colour2, int32_t x3, int32_t y3, uint32_t colour3,
                            uint32_t flags = 0);
    void FillShadedTriangleInt(int32_t x1, int32_t y1, uint32_t colour1, int32_t x2, int32_t y2,
                               uint32_t colour2, int32_t x3, int32_t y3, uint32_t colour3,
                               uint32_t flags = 0);
    void FillTexturedTriangle(int32_t x1, int32_t y1, int32_t u1, int32_t v1, int32_t x2,
                              int32_t y2, int32_t u2, int32_t v2, int32_t x3, int32_t y3,
                              int32_t u3, int32_t v3, V2DSurface* texture, uint32_t flags = 0,
                              uint32_t property = 0);
    void FillTexturedTriangleInt(int32_t x1, int32_t y1, int32_t u1, int32_t v1, int32_t x2,
                                 int32_t y2, int32_t u2, int32_t v2, int32_t x3, int32_t y3,
                                 int32_t u3, int32_t v3, V2DSurface* texture, uint32_t flags = 0,
                                 uint32_t property = 0);
    // Null fills the whole surface; corners top-left, top-right, bottom-left, bottom-right.
    void FillGradientRect(const VRect* r, uint32_t topleft, uint32_t topright, uint32_t bottomleft,
                          uint32_t bottomright, uint32_t flags);
    void FillGradientRect(const VRect* r, uint32_t top, uint32_t bottom, uint32_t flags = 0);

    // --- Models ---
    // Renders model into this surface (see V2DModelDrawing). Results: OK, INVALID (no model),
    // NOTCREATED (the model has no buffers), LOCKFAILED (this surface cannot be locked).
    uint32_t DrawModel(int32_t x, int32_t y, V2DModelDrawing* model, uint32_t flags,
                       uint32_t property) {
        return model == nullptr ? VSURF_INVALID : model->DrawInto(*this, x, y, flags, property);
    }

    // --- Transformed blits (transformed_blit.cpp, quarter_turn_blit.cpp) ---
    // The source rectangle centred on logical (x, y), scaled, turned and mirrored by transform
    // (null: none). Results: OK, NOTCREATED, UNSUPPORTED (a free turn without sine tables),
    // NOTVISIBLE (nothing of a quarter-turned picture), NOTHINGTODRAW, FORMATSDIFFER,
    // LOCKFAILED.
    uint32_t BlitTransformed(int32_t x, int32_t y, V2DSurface* source, const VRect* sourcerect,
                             const VBlitTransform* transform);
    // The source rectangle mirrored by flip, turned by angle (a multiple of 1024) and drawn with
    // its top-left corner at logical (x, y). Results: OK, NOTCREATED, INVALID (angle not a
    // quarter turn), NOTVISIBLE, NOTHINGTODRAW, FORMATSDIFFER, LOCKFAILED.
    uint32_t BlitQuarterTurn(int32_t x, int32_t y, V2DSurface* source, const VRect* sourcerect,
                             uint32_t angle, uint8_t flip, uint32_t flags, uint32_t property);
    // The scaled and freely turned route of BlitTransformed, a textured quadrilateral, for any
    // transform, turned with the owner's TurnTables. Results: OK, NOTCREATED, UNSUPPORTED (the
    // owner gives no tables), NOTHINGTODRAW, FORMATSDIFFER, LOCKFAILED.
    uint32_t BlitTexturedQuad(int32_t x, int32_t y, V2DSurface* source, const VRect* sourcerect,
                              const VBlitTransform& transform);

    // --- Fonts and text (font_scan.cpp, text_draw.cpp); RGBA sources (surface_rgba_blit.cpp) ---
    void SetFontRange(uint16_t first, uint16_t last);
    void SetFontGrid(uint8_t rows, int16_t perrow);
    // Keeps an owned copy of the strip's characters in order; null drops it. False when out of
    // memory (the old list is kept then).
    bool SetFontCharList(const char16_t* chars);
    // Sets the colour key and builds the font table. Results: OK, NOTCREATED, OUTOFMEMORY,
    // INVALID (no characters).
    uint32_t ScanFont(bool proportional, uint32_t colorkey);
    void DrawString(int32_t x, int32_t y, V2DSurface* fontsurface, const char* text, uint32_t flags,
                    uint32_t property);
    uint32_t GetStringWidth(const char* text) const;
    uint32_t GetStringHeight(const char* text) const;
    uint32_t Blit(int32_t x, int32_t y, class V2DSurfaceRGBA* source, const VRect* sourcerect,
                  uint32_t flags, uint32_t property);
    // A literal null source names neither kind of surface: nothing to draw from.
    uint32_t Blit(int32_t, int32_t, std::nullptr_t, const VRect*, uint32_t, uint32_t) {
        return VSURF_NOTCREATED;
    }

    // --- Fields beside those of V2DSurfaceFrame ---
    uint32_t* palette = nullptr;  // 256 colour values with alpha
    char16_t* fontcharmap = nullptr;
    uint16_t fontfirst = 32, fontlast = 127;
    uint16_t fontspacing = 0, fontspacing2 = 0;
    int32_t fontperrow = 128;
    uint32_t fontrows = 1;
    int32_t texturehandle = -1;
    void* font = nullptr;
    void* fontextra = nullptr;
    uint8_t pixelformat = 0;
    uint8_t bitsperpixel = 0;
    void* videosurface = nullptr;
    int16_t* spanleft = nullptr;
    int16_t* spanright = nullptr;
    uint32_t* spanleftvalues = nullptr;  // four planes of one entry per span row
    uint32_t* spanrightvalues = nullptr;
    uint8_t* pixels = nullptr;
    uint8_t* remap = nullptr;  // own palette index → display palette index
    uint32_t colorkey = 0;     // pixel value

  private:
    uint32_t BytesPerPixel() const { return bitsperpixel / 8u; }
    uint32_t SpanRows() const;
    uint8_t* PixelAddress(int32_t physx, int32_t physy) const;
    VRect CutToClip(const VRect& physical) const;
    // A colour fill made ready once for the many rectangles or spans of one call: the rule
    // (0 solid, else the one blend flag the effect comes down to) and its parameters.
    struct PreparedFill {
        uint32_t kind = 0;
        VFillParams params;
    };
    // False when the effect draws nothing.
    bool PrepareFill(uint32_t colour, uint32_t flags, uint32_t property, PreparedFill* fill) const;
    // A rectangle in physical coordinates, cut to the clip rectangle, on a locked surface.
    void FillPreparedRect(const VRect& physical, const PreparedFill& fill);
    // One pixel of a normalised colour effect at a logical point (nothing outside the clip
    // rectangle), on a locked surface.
    void PlotLogical(const VOrientation& o, int32_t x, int32_t y, uint32_t colour,
                     const VEffect& e);
    void FreeFontTable();
    void ClearClipArea();
    // Swaps pixel memory, geometry and span buffers with other (orientation change).
    void SwapStorage(V2DSurface& other);
    // Stores a colour at a logical point without effects (loaders).
    void StoreColour(int32_t x, int32_t y, uint32_t colour);

    // What a blit converting into this surface's format reads: the display palette's entries,
    // and its inverse table when this surface holds palette indices. False when that table
    // cannot be built (out of memory).
    bool ConversionTables(const uint32_t** displaypalette, const uint8_t** inverse);

    // The span buffers as the polygon filler walks them.
    VSpanBuffers SpanBuffers() const;
    // Fills a polygon with texels of texture; both surfaces are locked, texturememory is the
    // texture's locked pixel memory and e the normalised effect.
    void DrawTexturedPolygon(const VPolygonVertex* v, int count, const V2DSurface& texture,
                             const uint8_t* texturememory, const VEffect& e);
};
