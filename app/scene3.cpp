// Scene 3, from frame 1 for as long as the demo runs: three spinning quads textured with the
// mosaic of snapshots, moving on by one cell every 250 frames, the credits and a slowly
// zooming piece of the advert that starts again every 1000 frames.
#include "app/class_main.h"
#include "app/timeline_tables.h"
#include "math/wrap_arith.h"

namespace {
constexpr int32_t kCell = 128;
constexpr int32_t kChangeFrames = 50;  // frames of shrinking, then of growing
constexpr int32_t kCellChangeEvery = 250;
constexpr int32_t kAdvertEvery = 1000;
constexpr int32_t kCreditsFrames = 750;
constexpr uint32_t kCreditsFlags = 7;
const VRect kGameView{0, 115, 199, 233};
}  // namespace

void ClassMain::Scene3Quad(V2DSurface& b, int32_t i) {
    const int32_t f = scene_.frame;
    int32_t c = scene_.cellIndex + i;
    if (c > kMosaicCells - 1) c -= kMosaicCells;
    const int32_t tu = (c % 4) * kCell, tv = (c / 4) * kCell;
    int32_t w = kCell;
    if (scene_.shrink != 0) w = scene_.shrink * kCell / kChangeFrames;
    if (scene_.grow != 0) w = (kChangeFrames - scene_.grow) * kCell / kChangeFrames;

    // Only the low 12 bits of an angle count, so the angles are worked out in wrapping
    // arithmetic: the scene runs for ever and 40 × f would leave the 32-bit range.
    const ClassVMathTables& m = Math();
    const int32_t f40 = WrapMul(40, f);
    const int32_t x1 = m.Cos(WrapAdd(f40, 500 * i)) / 1000 + 80 * i;
    const int32_t y1 = m.Sin(WrapAdd(f40, 500 * i)) / 1000 - 3 * i + 110;
    const int32_t x2 = m.Cos(WrapAdd(f40, 500 * i + 500)) / 1000 + 80 * i + 80;
    const int32_t y2 = m.Sin(WrapAdd(f40, 500 * i + 500)) / 1000 - 3 * i + 107;
    const int32_t x3 = m.Cos(WrapAdd(f40, 350 * i + 510)) / 1000 + 80 * i + 80;
    const int32_t y3 = m.Sin(WrapAdd(f40, 400 * i + 600)) / 1000 - y1 + 300 - 3 * i - 3;
    const int32_t x4 = m.Cos(WrapAdd(f40, 350 * i + 160)) / 1000 + 80 * i;
    const int32_t y4 = m.Sin(WrapAdd(f40, 400 * i + 200)) / 1000 - y1 + 300 - 3 * i;

    b.FillTexturedTriangleInt(x1, y1, tu, tv, x2, y2, tu + w, tv, x3, y3, tu + w, tv + w, &mosaic_,
                              BLIT_ADD, 0);
    b.FillTexturedTriangleInt(x1, y1, tu, tv, x3, y3, tu + w, tv + w, x4, y4, tu, tv + w, &mosaic_,
                              BLIT_ADD, 0);
}

void ClassMain::Scene3(V2DSurface& b) {
    const int32_t f = scene_.frame;
    Gradient(b, 0x505050, 0x000000);
    for (int32_t i = 0; i < 3; ++i) Scene3Quad(b, i);

    if (scene_.shrink != 0) {
        scene_.shrink -= 1;
        if (scene_.shrink == 0) {
            scene_.cellIndex = scene_.cellIndex == kMosaicCells - 1 ? 0 : scene_.cellIndex + 1;
            scene_.grow = kChangeFrames - 1;
        }
    } else if (scene_.grow != 0) {
        scene_.grow -= 1;
    }

    int32_t& advertStart = scene_.flagsOrAdvertStart;
    if (f <= advertStart + kCreditsFrames) {
        b.DrawString(10, 230, &font_, kCreditsText.c_str(), kCreditsFlags, 0xFFFFFF);
    }
    if (f % kAdvertEvery == 0) advertStart = f;
    Piece(b, advertStart, 120, 90, &advert_, kGameView, 4, 1, 7.0, 0, 0, nullptr);
    FadeOut(b, advertStart + 720);

    if (f % kCellChangeEvery == 0) {
        sound_.Play(kSoundNewModel);
        scene_.shrink = kChangeFrames;
    }
    SnapshotsDue(b);
    scene_.frame += 1;
}
