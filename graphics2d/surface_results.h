// Results of the surface operations: creation, the loader interface, blits, transformed blits
// and fonts. 0 is success; failures that are alike share a value, so a few names do too.
#pragma once

#include <cstdint>

constexpr uint32_t VSURF_OK = 0;
constexpr uint32_t VSURF_NOTCREATED = 1;  // a surface taking part is not created
constexpr uint32_t VSURF_BADFORMAT = 1;   // a pixel format the surface cannot have
constexpr uint32_t VSURF_OUTOFMEMORY = 2;
// Not supported here: no image loader took the data, or a free turn has no sine tables.
constexpr uint32_t VSURF_UNSUPPORTED = 3;
constexpr uint32_t VSURF_INVALID = 4;         // an argument out of range
constexpr uint32_t VSURF_NOTVISIBLE = 4;      // nothing of the rectangle is visible
constexpr uint32_t VSURF_NOTHINGTODRAW = 10;  // the opacity quantised to zero
constexpr uint32_t VSURF_PALETTERANGE = 10;   // a palette index of 256 or more
constexpr uint32_t VSURF_FORMATSDIFFER = 11;  // source and destination formats differ
constexpr uint32_t VSURF_LOCKFAILED = 12;     // a surface could not be locked
