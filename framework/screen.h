// ClassVScreen, the display device: opens the platform's screen, decides the pixel formats of
// the screen and of the back buffer, keeps the back buffer (a V2DSurface the application draws
// into) and presents it after each frame, turned for the display orientation.
//
// The display is also the owner of every surface created through it (VSurfaceServices: the
// registry, the blitter table for the buffer format, the palette services and the orientation
// the surfaces follow), it loads models for the application's model services, and it holds
// the 3D settings the renderer reads (V3DDisplayState).
#pragma once

#include <cstdint>

#include "framework/display.h"
#include "graphics2d/surface.h"
#include "graphics2d/surface_rgba.h"
#include "graphics2d/surface_services.h"
#include "imaging/loader_registry.h"
#include "math/matrix.h"
#include "render3d/model_services.h"

class VPlatformScreen;
class V3DModel;

constexpr uint32_t kDefaultRenderFlags = 1024;

class ClassVScreen final : public VDisplay, public VSurfaceServices, public V3DDisplayState {
  public:
    ClassVScreen();
    ClassVScreen(const ClassVScreen&) = delete;
    ClassVScreen& operator=(const ClassVScreen&) = delete;
    ~ClassVScreen() override;

    uint32_t Open(VPlatformInstance* instance, const VWindowSetup* setup,
                  const VDisplayConfig& config) override;
    // Frees every surface created for the display, the 3D lights and the blitter table, and
    // releases the platform screen.
    void Close() override;
    bool IsOpen() const override { return bufferFormat_ != 0; }
    void Present() override;
    void Suspend() override;
    void Resume() override;
    bool IsSuspended() const override { return suspended_ != 0; }
    bool IsFullScreen() const override { return fullScreen_ != 0; }
    bool SetOrientation(uint8_t code) override;
    uint8_t Orientation() const override { return orientation_; }
    uint8_t NativeOrientation() const override { return nativeOrientation_; }
    void SetNativeOrientation(uint8_t quarterTurns) override {
        nativeOrientation_ = quarterTurns & 3;
    }
    uint32_t GetWidth() const override { return logicalWidth_; }
    uint32_t GetHeight() const override { return logicalHeight_; }

    // A surface of the buffer format, owned by this display from now on (freed and turned with
    // it). Result of V2DSurface::Create; VSURF_NOTCREATED while the display is closed.
    uint32_t CreateSurface(V2DSurface& surface, uint32_t width, uint32_t height,
                           uint32_t memoryKind);
    // Decodes an image into a surface of the buffer format through the registered loaders.
    uint32_t LoadSurface(V2DSurface& surface, const uint8_t* data, uint32_t size,
                         uint32_t memoryKind);
    // The same for surfaces with per-pixel alpha: the buffer format is their default colour
    // format; flags as V2DSurfaceRGBA::Create takes them.
    uint32_t CreateSurfaceRGBA(V2DSurfaceRGBA& surface, uint32_t width, uint32_t height,
                               uint32_t flags);
    uint32_t LoadSurfaceRGBA(V2DSurfaceRGBA& surface, const uint8_t* data, uint32_t size,
                             uint32_t flags);

    // Image and model loaders, tried in registration order. False for a null loader or when
    // all 16 places are taken: the caller keeps the loader then; otherwise the display owns it
    // and deletes it when it is destroyed.
    bool RegisterLoader(ClassVLoaderBase* loader) { return loaders_.RegisterLoader(loader); }
    const VLoaderRegistry& Loaders() const { return loaders_; }
    uint32_t DecodeImage(V2DSurfaceBase& surface, const uint8_t* data, uint32_t size,
                         uint8_t defaultformat, uint32_t flags) override {
        return loaders_.DecodeImage(&surface, data, size, defaultformat, flags);
    }

    // The services every model loaded here is bound to (the application's); not owned.
    void SetModelServices(V3DServices* services) { modelServices_ = services; }
    // Binds the model to the model services, then lets the registered loaders try the data in
    // order; results 3 and 14 pass on to the next loader. scale: a signed exponent the loaders
    // apply to positions; flags: the model's create flags. With no taker the result is the
    // last 3 or 14, or 3 when no loader was asked.
    uint32_t LoadModel(V3DModel& model, const uint8_t* data, uint32_t size, int8_t scale,
                       uint32_t flags);

    // Pixel format codes 1 to 6 (8-bit index, 444, 555, 565, 888, X888); buffer format 0 while
    // closed.
    uint8_t ScreenFormat() const { return screenFormat_; }
    uint8_t BufferFormat() const { return bufferFormat_; }
    uint32_t ScreenBitsPerPixel() const { return bitsPerPixel_; }
    uint32_t PhysicalWidth() const { return physicalWidth_; }
    uint32_t PhysicalHeight() const { return physicalHeight_; }
    uint8_t ScreenMethod() const { return screenMethod_; }
    bool NativeLayoutActive() const { return nativeLayout_ != 0; }
    // The surface the application draws into, and the one in the screen's format the present
    // converts into first when the formats differ (not created when they are the same).
    V2DSurface& BackBuffer() { return backBuffer_; }
    const V2DSurface& SecondBuffer() const { return secondBuffer_; }
    bool HasSecondBuffer() const { return secondBuffer_.IsCreated(); }
    // The present's clip rectangle: the whole logical display.
    const VRect& ClipRect() const { return clip_; }

    // --- 3D operations (screen_3d.cpp); all of this state is reset when the display opens ---
    // The view matrix, applied after each model's own matrix: identity after ResetView;
    // TranslateView and RotateView put a translation or a rotation (x, then y, then z axis,
    // 4096 units a turn) before the view so far, and do nothing for three zeros.
    void ResetView();
    void TranslateView(int32_t x, int32_t y, int32_t z);
    void RotateView(int32_t ax, int32_t ay, int32_t az);
    // Lights 0 to 7 (index & 255); other indices are ignored. SetLight normalises the
    // direction to length 131072 and keeps the low 24 bits of both colours (0x00BBGGRR);
    // extra is for hardware renderers.
    void EnableLight(uint32_t index, uint8_t on);
    void SetLight(uint32_t index, int32_t x, int32_t y, int32_t z, uint32_t diffuse,
                  uint32_t ambient, uint32_t extra);
    // The texture of textured rendering, not owned; null after the display opens.
    void SetTexture(V2DSurface* surface) { texture_ = surface; }
    // V3DRENDER_... bits (render3d/render_list.h) and the effect flags of the fills.
    void SetRenderFlags(uint32_t flags) { renderFlags_ = flags; }
    // Settings of a hardware renderer: the software projection is fixed when the display
    // opens, so these change nothing.
    void SetPerspective(uint32_t width, uint32_t height);
    void SetViewport(uint32_t width, uint32_t height, uint32_t flag);
    // Fills rect of the back buffer (null: all of it) with the colour's low 24 bits at the
    // opacity of its top byte.
    void ClearViewport(const VRect* rect, uint32_t colour);
    // Renders the model into the back buffer with the view matrix, the lights, the texture
    // and the render flags. Result of V2DSurface::DrawModel; VSURF_NOTCREATED while closed.
    uint32_t RenderModel(V3DModel* model);

    // 3D settings the renderer reads.
    VLight* Lights() override { return lights_; }
    uint32_t RenderFlags() const { return renderFlags_; }
    const VMatrix& WorldMatrix() const { return world_; }
    uint32_t ProjectionScale() const override { return projectionScale_; }
    V2DSurface* Texture() const override { return texture_; }

  private:
    // Either kind of surface, owned by this display and decoded with the buffer format as its
    // default.
    uint32_t LoadOwned(V2DSurfaceFrame& surface, const uint8_t* data, uint32_t size,
                       uint32_t flags);
    // The quarter turns an orientation code asks for, or -1 for an unknown code.
    int QuarterTurnsFor(uint8_t code) const;
    void ApplyLayout(uint8_t turns);
    // The orientation the surfaces follow: the screen's memory order with native layout, else
    // upright.
    VOrientation LayoutOrientation(bool native) const;
    bool CreateBuffers();
    void FreeBuffers();
    // The buffer that holds the screen's format.
    V2DSurface& ScreenBuffer() { return HasSecondBuffer() ? secondBuffer_ : backBuffer_; }
    void Set3DDefaults();

    int32_t logicalXStep_ = 0;  // bytes between logical neighbours in screen memory
    int32_t logicalYStep_ = 0;
    uint32_t originOffset_ = 0;  // byte offset of logical (0, 0) in screen memory
    uint32_t logicalWidth_ = 0;
    uint32_t logicalHeight_ = 0;
    uint32_t physicalWidth_ = 0;
    uint32_t physicalHeight_ = 0;
    uint32_t bitsPerPixel_ = 0;
    VLoaderRegistry loaders_;
    VPlatformScreen* platformScreen_ = nullptr;  // owned
    VPlatformInstance* instance_ = nullptr;      // not owned
    const VWindowSetup* setup_ = nullptr;        // not owned
    V2DSurface secondBuffer_;
    V2DSurface backBuffer_;
    VRect clip_;
    VDisplayConfig config_;
    VLight lights_[kDisplayLights];
    uint32_t renderFlags_ = kDefaultRenderFlags;
    VMatrix world_{};
    uint32_t projectionScale_ = 0;
    V2DSurface* texture_ = nullptr;
    V3DServices* modelServices_ = nullptr;
    uint32_t desktopWidth_ = 0;
    uint32_t desktopHeight_ = 0;
    int32_t screenXStep_ = 0;
    int32_t screenYStep_ = 0;
    uint8_t screenFormat_ = 0;
    uint8_t bufferFormat_ = 0;  // 0: closed
    uint8_t orientation_ = 0;
    uint8_t nativeOrientation_ = 0;
    uint8_t screenMethod_ = 0;
    uint8_t platformBuffers_ = 0;  // the method that opened offers platform surfaces
    uint8_t fullScreen_ = 0;
    uint8_t suspended_ = 0;
    uint8_t nativeLayout_ = 0;
};
