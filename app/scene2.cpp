// Scene 2, frames 1 to 2700: three models beside the eight captioned pieces of the advert,
// then the advert's three bands coming in one after the other.
#include "app/class_main.h"
#include "app/resource_lookup.h"
#include "app/timeline_tables.h"
#include "render3d/model.h"

namespace {
constexpr int32_t kLastFrame = 2700;
constexpr uint32_t kFlatRenderFlags = 256;
constexpr uint32_t kLitRenderFlags = 512;
constexpr uint32_t kShadedRenderFlags = 1024;
constexpr int32_t kFirstCountdown = 100;
constexpr int32_t kFlashFrames = 5;
constexpr int32_t kBetweenFlashes = 70;
const VRect kGameView{0, 115, 199, 233};
const VRect kTitleBand{0, 0, 179, 98};
const VRect kBannerBand{0, 100, 219, 115};
}  // namespace

void ClassMain::Scene2(V2DSurface& b) {
    const int32_t f = scene_.frame;
    Light();

    // Captions first..last with their starts, in the given stretching mode.
    auto captions = [&](int32_t first, int32_t last, int32_t firstStart, int32_t mode) {
        for (int32_t k = first; k <= last; ++k) {
            const VCaption& c = kCaptions[k];
            const VRect source{c.left, c.top, c.left + c.width, c.top + c.height};
            Piece(b, firstStart + (k - first) * 250, c.x, c.y, &advert_, source, mode, 1, 2.0,
                  c.textX, c.textY, c.text);
        }
    };

    if (f == 1) LoadNextModel(113, false);  // nothing drawn: B keeps scene 1's black
    if (f >= 2 && f <= 200) {
        Gradient(b, 0x505050, 0x000000);
        Piece(b, 0, 120, 160, &advert_, kGameView, 1, 0, 2.0, 0, 0, nullptr);
        SnapshotsDue(b);
        FadeIn(b, 0);
        FadeOut(b, 170);
    }
    if (f >= 201 && f <= 1000) {
        Gradient(b, 0x505050, 0x000000);
        scene_.ry += 10;
        scene_.x = 0;
        scene_.y = -5000;
        scene_.z = -50000;
        scene_.rx = 200;
        Model(scene_.x, scene_.y, scene_.z, scene_.rx, scene_.ry, kLitRenderFlags);
        captions(0, 2, 200, 1);
        SnapshotsDue(b);
        FadeIn(b, 200);
        FadeOut(b, 970);
    }
    if (f == 1000) LoadNextModel(114, false);
    if (f >= 1001 && f <= 1800) {
        Gradient(b, 0x505050, 0x000000);
        scene_.ry += 10;
        scene_.x = scene_.y = scene_.rx = 0;
        scene_.z = 15000;
        const uint32_t flags = f % 150 == 0   ? kFlatRenderFlags
                               : f % 100 == 0 ? kLitRenderFlags
                                              : kShadedRenderFlags;
        Model(0, 0, 15000, 0, scene_.ry, flags);
        captions(3, 5, 1000, 0);
        SnapshotsDue(b);
        FadeIn(b, 1000);
        FadeOut(b, 1770);
    }
    if (f == 1800) {
        LoadNextModel(115, false);
        scene_.flagsOrAdvertStart = int32_t(kShadedRenderFlags);
        scene_.shrink = kFirstCountdown;
        sound_.Play(kSoundNewModel);
    }
    if (f >= 1801 && f <= 2300) {
        const int32_t t = f - 1800;
        Gradient(b, 0x505050, 0x000000);
        scene_.ry += 10;
        // After the first 100 frames the boss flashes flat for 5 frames every 75. The shrink
        // countdown serves as the flash countdown here; scene 3 starts it from 0 again.
        scene_.shrink -= 1;
        if (scene_.shrink == 0) {
            if (scene_.flagsOrAdvertStart == int32_t(kFlatRenderFlags)) {
                scene_.flagsOrAdvertStart = int32_t(kLitRenderFlags);
                scene_.shrink = kBetweenFlashes;
            } else {
                scene_.flagsOrAdvertStart = int32_t(kFlatRenderFlags);
                scene_.shrink = kFlashFrames;
            }
        }
        Model(0, (-100 - t) * 5, (t - 300) * 100, 0, scene_.ry,
              uint32_t(scene_.flagsOrAdvertStart));
        captions(6, 7, 1800, 2);
        SnapshotsDue(b);
        FadeIn(b, 1800);
        FadeOut(b, 2270);
    }
    if (f >= 2301 && f <= kLastFrame) {
        Gradient(b, 0x505050, 0x0A0A0A);
        Piece(b, 2300, 120, 160, &advert_, kTitleBand, 3, 2, 1.0, 0, 0, nullptr);
        Piece(b, 2380, 120, 160, &advert_, kBannerBand, 3, 1, 1.0, 0, 0, nullptr);
        Piece(b, 2460, 120, 160, &advert_, kGameView, 4, 1, 2.0, 0, 0, nullptr);
        SnapshotsDue(b);
    }
    if (f == kLastFrame) {
        scene_.scene = 3;
        scene_.flagsOrAdvertStart = 0;
        scene_.cellIndex = 0;
        scene_.shrink = 0;
        scene_.grow = 0;
        scene_.frame = 1;
    } else {
        scene_.frame += 1;
    }
}
