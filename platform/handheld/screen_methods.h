// The handheld's ways to the screen memory, the order they are tried in, and the channel
// layout of the raw frame buffer's record.
#pragma once

#include <cstdint>

#include "platform/handheld/handheld_device.h"
#include "platform/platform_layer.h"

// Method codes, as handed to the screen's Open.
constexpr uint8_t kHandheldRawFrameBuffer = 0;
constexpr uint8_t kHandheldGameInterface = 1;
constexpr uint8_t kHandheldDirectDraw = 2;
// If the program is high-resolution aware, the raw frame buffer and then the game interface;
// otherwise DirectDraw.
constexpr uint8_t kHandheldAutomatic = 3;

// The order for the display-method setting: 2 puts the game interface first, 3 DirectDraw;
// any other value starts with the raw frame buffer. Fills four methods; returns 4.
uint32_t HandheldScreenMethods(uint8_t displayMethod, VScreenMethod* methods);

// The channel widths a record describes: 24 and 32 bits 8-8-8; 16 bits 5-5-5 when format
// bit 1 is set, 5-6-5 when the format is 1, otherwise 4-4-4; 1, 2, 4 and 8 bits none. False
// for any other depth.
bool RawFrameBufferChannels(const VRawFrameBufferRecord& record, VScreenMode* mode);

// The channel widths of the game interface's format flags; false when they name none.
bool GameInterfaceChannels(const VGameDisplayProperties& properties, VScreenMode* mode);
