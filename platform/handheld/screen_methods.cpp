#include "platform/handheld/screen_methods.h"

namespace {

void SetChannels(VScreenMode* mode, uint8_t red, uint8_t green, uint8_t blue) {
    mode->redBits = red;
    mode->greenBits = green;
    mode->blueBits = blue;
}

}  // namespace

uint32_t HandheldScreenMethods(uint8_t displayMethod, VScreenMethod* methods) {
    static constexpr uint8_t kGameFirst[4] = {kHandheldGameInterface, kHandheldRawFrameBuffer,
                                              kHandheldDirectDraw, kHandheldAutomatic};
    static constexpr uint8_t kDirectDrawFirst[4] = {kHandheldDirectDraw, kHandheldRawFrameBuffer,
                                                    kHandheldGameInterface, kHandheldAutomatic};
    static constexpr uint8_t kRawFirst[4] = {kHandheldRawFrameBuffer, kHandheldGameInterface,
                                             kHandheldDirectDraw, kHandheldAutomatic};
    const uint8_t* order = displayMethod == 2   ? kGameFirst
                           : displayMethod == 3 ? kDirectDrawFirst
                                                : kRawFirst;
    for (uint32_t i = 0; i < 4; ++i) {
        // Every way writes the screen memory itself; none offers surfaces of its own.
        methods[i] = VScreenMethod{order[i], false};
    }
    return 4;
}

bool RawFrameBufferChannels(const VRawFrameBufferRecord& record, VScreenMode* mode) {
    mode->bitsPerPixel = record.bitsPerPixel;
    switch (record.bitsPerPixel) {
        case 24:
        case 32:
            SetChannels(mode, 8, 8, 8);
            return true;
        case 16:
            if (record.format & 2) {
                SetChannels(mode, 5, 5, 5);
            } else if (record.format == 1) {
                SetChannels(mode, 5, 6, 5);
            } else {
                SetChannels(mode, 4, 4, 4);
            }
            return true;
        case 1:
        case 2:
        case 4:
        case 8:
            SetChannels(mode, 0, 0, 0);
            return true;
        default:
            return false;
    }
}

bool GameInterfaceChannels(const VGameDisplayProperties& properties, VScreenMode* mode) {
    mode->bitsPerPixel = uint32_t(properties.bitsPerPixel);
    if (properties.format & kGameFormat565) {
        SetChannels(mode, 5, 6, 5);
    } else if (properties.format & kGameFormat555) {
        SetChannels(mode, 5, 5, 5);
    } else if (properties.format & kGameFormat444) {
        SetChannels(mode, 4, 4, 4);
    } else if (properties.format & kGameFormat888) {
        SetChannels(mode, 8, 8, 8);
    } else if (properties.format & kGameFormatPalette) {
        SetChannels(mode, 0, 0, 0);
    } else {
        return false;
    }
    return true;
}
