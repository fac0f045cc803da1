// Scene 1, frames 0 to 800: the studio logo fades in and out over a black-to-white gradient;
// then the first model flies past the four slogans, comes closer and hovers, rocking.
#include "app/class_main.h"
#include "app/resource_lookup.h"
#include "app/timeline_tables.h"

namespace {
constexpr int32_t kLogoEnd = 200;
constexpr int32_t kLastFrame = 800;
constexpr int32_t kLogoX = 16, kLogoY = 65;
constexpr uint32_t kFlyingRenderFlags = 1024;
}  // namespace

void ClassMain::Scene1(V2DSurface& b) {
    const int32_t f = scene_.frame;
    if (f <= kLogoEnd) {
        Gradient(b, 0x000000, 0xFFFFFF);
        b.Blit(kLogoX, kLogoY, &logo_, nullptr, 0, 0);
        FadeIn(b, 0);
        FadeOut(b, 170);
        SnapshotsDue(b);
    }
    if (f == kLogoEnd) {
        const VResourceData slogans = Resource("IMAGES", 109);
        screen_->LoadSurface(slogans_, slogans.data, uint32_t(slogans.size), 0);
        LoadNextModel(112, true);
        scene_.x = 16000;
        scene_.y = 0;
        scene_.z = -500;
        scene_.rx = 200;
        scene_.ry = 400;
    }
    if (f > kLogoEnd && f <= kLastFrame) {
        Gradient(b, 0x505050, 0xFFFFFF);
        Model(scene_.x, scene_.y, scene_.z, scene_.rx, scene_.ry, kFlyingRenderFlags);
        for (const VSlogan& s : kSlogans) {
            Piece(b, s.start, s.x, s.y, &slogans_, s.source, s.mode, 0, 1.0, 0, 0, nullptr);
        }
        SnapshotsDue(b);
        FadeIn(b, 200);
        FadeOut(b, 770);
        // The model flies in from the right, turning, then comes closer, then hovers and rocks.
        if (scene_.x > -12500) {
            scene_.x -= 90;
            scene_.rx -= 1;
            if (scene_.ry > 0) scene_.ry -= 2;
        } else if (scene_.z < 0) {
            scene_.z += 10;
            scene_.rx = 0;
        } else {
            scene_.z = 25000;
            scene_.y = -1500;
            scene_.x = -12900;
            scene_.rx = Math().Cos(20 * f) / 900;
        }
    }
    if (f == kLastFrame) {
        scene_.scene = 2;
        scene_.frame = 1;
    } else {
        scene_.frame += 1;
    }
}
