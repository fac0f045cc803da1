// The building blocks every scene draws with. They all draw into the back buffer b at the
// current frame f of the current scene.
#include "app/class_main.h"
#include "app/timeline_tables.h"
#include "graphics2d/transformed_blit.h"

namespace {
constexpr int32_t kFadeFrames = 30;
constexpr int32_t kCellSide = 128;
// B's 240 × 320 pixels become a cell of about 128 × 128.
constexpr int32_t kSnapshotXScale = 0x8888;
constexpr int32_t kSnapshotYScale = 0x6666;
}  // namespace

void ClassMain::Gradient(V2DSurface& b, uint32_t top, uint32_t bottom) {
    b.FillGradientRect(nullptr, top, bottom, 0);
}

void ClassMain::FadeIn(V2DSurface& b, int32_t start) {
    const int32_t f = scene_.frame;
    if (f < start || f > start + kFadeFrames) return;
    const int32_t a = (f - start) * 255 / kFadeFrames;
    const int32_t opacity = 255 - a;
    // Only the second frame of a fade-in opens above 245, and the logo's own fade-in at the
    // very start stays silent.
    if (f > 50 && opacity > 245) sound_.Play(kSoundFadeIn);
    b.FillRect(nullptr, 0, BLIT_OPACITY, uint32_t(opacity));
}

void ClassMain::FadeOut(V2DSurface& b, int32_t start) {
    const int32_t f = scene_.frame;
    if (f < start || f > start + kFadeFrames) return;
    const int32_t a = (f - start) * 255 / kFadeFrames;
    b.FillRect(nullptr, 0, BLIT_OPACITY, uint32_t(a));
}

void ClassMain::Snapshot(V2DSurface& b, int32_t column, int32_t row) {
    VBlitTransform transform;
    transform.flags = 0;
    transform.property = 0;
    transform.xscale = kSnapshotXScale;
    transform.yscale = kSnapshotYScale;
    mosaic_.BlitTransformed(column * kCellSide + kCellSide / 2, row * kCellSide + kCellSide / 2, &b,
                            nullptr, &transform);
}

void ClassMain::SnapshotsDue(V2DSurface& b) {
    for (const VMosaicCell& cell : kMosaic) {
        if (cell.scene == scene_.scene && cell.frame == scene_.frame) {
            Snapshot(b, cell.column, cell.row);
        }
    }
}
