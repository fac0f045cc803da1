// ClassVScreen, the display device: opens the platform's screen, keeps the back buffer the
// application draws into and presents it after each frame, turned for the display
// orientation.
//
// The back buffer is a block of pixels in the screen's own pixel format at the logical size,
// rows top to bottom. A buffer format that differs from the screen's is refused with
// kDisplayUnusable: converting between formats is the surfaces' work.
#pragma once

#include <cstdint>

#include "framework/display.h"

class VPlatformScreen;

class ClassVScreen final : public VDisplay {
  public:
    ClassVScreen() = default;
    ClassVScreen(const ClassVScreen&) = delete;
    ClassVScreen& operator=(const ClassVScreen&) = delete;
    ~ClassVScreen() override;

    uint32_t Open(VPlatformInstance* instance, const VWindowSetup* setup,
                  const VDisplayConfig& config) override;
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

    // Pixel format codes 1 to 6 (8-bit index, 444, 555, 565, 888, X888); 0 while closed.
    uint8_t ScreenFormat() const { return screenFormat_; }
    uint8_t BufferFormat() const { return bufferFormat_; }
    // The back buffer: GetHeight() rows of BackBufferPitch() bytes; null while closed.
    uint8_t* BackBuffer() { return backBuffer_; }
    uint32_t BackBufferPitch() const { return backPitch_; }
    uint32_t BytesPerPixel() const { return bytesPerPixel_; }

  private:
    bool CreateBackBuffer();
    void FreeBackBuffer();
    // The quarter turns an orientation code asks for, or -1 for an unknown code.
    int QuarterTurnsFor(uint8_t code) const;
    void ApplyLayout(uint8_t turns);

    VPlatformInstance* instance_ = nullptr;
    const VWindowSetup* setup_ = nullptr;
    VDisplayConfig config_;
    VPlatformScreen* platformScreen_ = nullptr;

    int32_t logicalXStep_ = 0;  // bytes between logical neighbours in screen memory
    int32_t logicalYStep_ = 0;
    uint32_t originOffset_ = 0;  // byte offset of logical (0, 0) in screen memory
    uint32_t logicalWidth_ = 0;
    uint32_t logicalHeight_ = 0;
    uint32_t physicalWidth_ = 0;
    uint32_t physicalHeight_ = 0;
    int32_t screenXStep_ = 0;
    int32_t screenYStep_ = 0;
    uint32_t bytesPerPixel_ = 0;

    uint8_t* backBuffer_ = nullptr;
    uint32_t backPitch_ = 0;

    uint8_t screenFormat_ = 0;
    uint8_t bufferFormat_ = 0;  // 0: closed
    uint8_t orientation_ = 0;
    uint8_t nativeOrientation_ = 0;
    uint8_t fullScreen_ = 0;
    uint8_t suspended_ = 0;
};
