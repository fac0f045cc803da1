#include "framework/turning_copy.h"

#include <cstring>

#include "fileio/memory.h"

namespace {

constexpr uint32_t kTile = 32;

// Moves `lines` runs of `run` pixels. Along a run both sides step by `along` bytes (±bpp); the
// runs start `sourceAcross` and `targetAcross` bytes apart.
void CopyRuns(const uint8_t* source, int32_t sourceAcross, uint8_t* target, int32_t targetAcross,
              int32_t along, uint32_t run, uint32_t lines, uint32_t bytesPerPixel) {
    const size_t runBytes = size_t(run) * bytesPerPixel;
    // A backward run occupies the bytes that end at its first pixel.
    const intptr_t start = along < 0 ? intptr_t(run - 1) * along : 0;
    const bool packed = source != nullptr && sourceAcross == targetAcross &&
                        size_t(sourceAcross < 0 ? -sourceAcross : sourceAcross) == runBytes;
    if (packed && lines > 0) {
        // Both sides hold the whole picture as one block: a single copy.
        const intptr_t first = sourceAcross < 0 ? intptr_t(lines - 1) * sourceAcross : 0;
        MemCopy(target + first + start, source + first + start, runBytes * lines, false);
        return;
    }
    for (uint32_t line = 0; line < lines; ++line) {
        uint8_t* to = target + intptr_t(line) * targetAcross + start;
        if (source == nullptr) {
            MemFill8(to, 0, runBytes);
        } else {
            MemCopy(to, source + intptr_t(line) * sourceAcross + start, runBytes, false);
        }
    }
}

// Pixels of a fixed size, so that each one moves as a single load and store.
template <uint32_t kBytes>
void CopyTiles(const VPixelWalk& source, const VPixelWalk& target, uint32_t width,
               uint32_t height) {
    uint8_t zero[kBytes] = {};
    for (uint32_t ty = 0; ty < height; ty += kTile) {
        const uint32_t yEnd = height - ty > kTile ? ty + kTile : height;
        for (uint32_t tx = 0; tx < width; tx += kTile) {
            const uint32_t xEnd = width - tx > kTile ? tx + kTile : width;
            for (uint32_t y = ty; y < yEnd; ++y) {
                uint8_t* to = target.origin + intptr_t(y) * target.ystep;
                if (source.origin == nullptr) {
                    for (uint32_t x = tx; x < xEnd; ++x)
                        std::memcpy(to + intptr_t(x) * target.xstep, zero, kBytes);
                    continue;
                }
                const uint8_t* from = source.origin + intptr_t(y) * source.ystep;
                for (uint32_t x = tx; x < xEnd; ++x) {
                    std::memcpy(to + intptr_t(x) * target.xstep, from + intptr_t(x) * source.xstep,
                                kBytes);
                }
            }
        }
    }
}

}  // namespace

void TurningCopy(const VPixelWalk& source, const VPixelWalk& target, uint32_t width,
                 uint32_t height, uint32_t bytesPerPixel) {
    if (width == 0 || height == 0 || target.origin == nullptr) return;
    const int32_t bpp = int32_t(bytesPerPixel);
    const bool clearing = source.origin == nullptr;
    const auto contiguous = [&](int32_t sourceStep, int32_t targetStep) {
        return (targetStep == bpp || targetStep == -bpp) && (clearing || sourceStep == targetStep);
    };
    if (contiguous(source.xstep, target.xstep)) {
        CopyRuns(source.origin, source.ystep, target.origin, target.ystep, target.xstep, width,
                 height, bytesPerPixel);
    } else if (contiguous(source.ystep, target.ystep)) {
        CopyRuns(source.origin, source.xstep, target.origin, target.xstep, target.ystep, height,
                 width, bytesPerPixel);
    } else {
        switch (bytesPerPixel) {
            case 1:
                CopyTiles<1>(source, target, width, height);
                break;
            case 2:
                CopyTiles<2>(source, target, width, height);
                break;
            case 3:
                CopyTiles<3>(source, target, width, height);
                break;
            default:
                CopyTiles<4>(source, target, width, height);
                break;
        }
    }
}
