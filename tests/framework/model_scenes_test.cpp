// The demo's four models in every frame of their scenes, placed by the display's own view
// operations: no vertex reaches the viewpoint's depth, and each model (for the first scene
// each of its three craft) lies where the scene means it to be: the raiders enter from the
// right and the leader hovers in the picture, the towers stay in it, the boss comes from afar
// and sinks until its feet leave the picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "render3d/projection.h"
#include "render3d/render_list.h"
#include "tests/framework/recorder.h"
#include "tools/model_sheet/model_scenes.h"
#include "tools/model_sheet/scene_frame.h"

namespace {

constexpr double kWidth = 240, kHeight = 320;

std::vector<uint8_t> ReadAsset(const std::string& name) {
    std::vector<uint8_t> bytes;
    if (std::FILE* f = std::fopen((std::string(VANE_ASSETS_DIR) + "/" + name).c_str(), "rb")) {
        uint8_t buffer[4096];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
        std::fclose(f);
    }
    return bytes;
}

uint16_t U16(const std::vector<uint8_t>& d, size_t at) {
    return uint16_t(d[at] | d[at + 1] << 8);
}
uint32_t U32(const std::vector<uint8_t>& d, size_t at) {
    return uint32_t(U16(d, at)) | uint32_t(U16(d, at + 2)) << 16;
}

// The objects of a 3D Studio file in file order, with their vertex counts (the loader puts
// each object's vertices after the previous object's).
std::vector<std::pair<std::string, uint32_t>> ObjectsOf(const std::vector<uint8_t>& d) {
    std::vector<std::pair<std::string, uint32_t>> objects;
    auto walk = [&](auto& self, size_t at, size_t end) -> void {
        while (at + 6 <= end) {
            const uint16_t id = U16(d, at);
            const size_t next = std::min(end, at + std::max<uint32_t>(6, U32(d, at + 2)));
            if (id == 0x4D4D || id == 0x3D3D || id == 0x4100) self(self, at + 6, next);
            if (id == 0x4000) {
                const char* name = reinterpret_cast<const char*>(&d[at + 6]);
                objects.emplace_back(name, 0);
                self(self, at + 6 + objects.back().first.size() + 1, next);
            }
            if (id == 0x4110 && !objects.empty()) objects.back().second = U16(d, at + 6);
            at = next;
        }
    };
    walk(walk, 0, d.size());
    return objects;
}

struct Box {
    double left = 1e18, top = 1e18, right = -1e18, bottom = -1e18;
    bool Inside() const { return left >= 0 && top >= 0 && right <= kWidth && bottom <= kHeight; }
    bool Outside() const { return right < 0 || left > kWidth || bottom < 0 || top > kHeight; }
};

// Per frame of the scene: the nearest view depth of any vertex and the picture box of each
// group of objects (objects named with the group's prefix; "" takes all).
struct SceneWalk {
    std::vector<VModelFrame> frames;
    std::vector<int32_t> nearest;
    std::map<std::string, std::vector<Box>> boxes;
};

SceneWalk Walk(ClassVane& app, ClassVScreen& screen, const VModelScene& scene,
               const std::vector<std::string>& groups) {
    SceneWalk walk;
    const std::vector<uint8_t> file = ReadAsset(scene.file);
    V3DModel model;
    EXPECT_EQ(screen.LoadModel(model, file.data(), uint32_t(file.size()), -3, 0), 0u);
    // Which group each vertex belongs to.
    std::vector<int> groupOf;
    for (const auto& [name, count] : ObjectsOf(file)) {
        int g = -1;
        for (size_t i = 0; i < groups.size(); ++i)
            if (name.rfind(groups[i], 0) == 0) g = int(i);
        groupOf.insert(groupOf.end(), count, g);
    }
    EXPECT_EQ(groupOf.size(), model.VertexCount()) << scene.file;
    const uint8_t* positions = model.VertexBuffer() + model.AttributeOffset(V3DATTR_POSITION);
    const uint32_t stride = model.AttributeStride(V3DATTR_POSITION);

    WalkModelScene(scene.resource, app.Math(), [&](const VModelFrame& f) {
        PlaceModel(screen, f);
        VMatrix m = screen.WorldMatrix();
        MatrixMultiply(m, model.ModelMatrix());
        int32_t nearest = INT32_MIN;
        std::vector<Box> frameBoxes(groups.size());
        for (uint32_t v = 0; v < model.VertexCount() && v < groupOf.size(); ++v) {
            int32_t p[3], t[3];
            std::memcpy(p, positions + size_t(v) * stride, sizeof(p));
            TransformPoint(t[0], t[1], t[2], p[0], p[1], p[2], m);
            nearest = std::max(nearest, t[2]);
            if (groupOf[v] < 0 || t[2] >= kNearDepth) continue;
            const int64_t s = PerspectiveScale(t[2], screen.ProjectionScale());
            const double x = kWidth / 2 + double(Project(s, t[0])) / (1 << 20);
            const double y = kHeight / 2 - double(Project(s, t[1])) / (1 << 20);
            Box& b = frameBoxes[size_t(groupOf[v])];
            b.left = std::min(b.left, x), b.right = std::max(b.right, x);
            b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
        }
        walk.frames.push_back(f);
        walk.nearest.push_back(nearest);
        for (size_t g = 0; g < groups.size(); ++g) walk.boxes[groups[g]].push_back(frameBoxes[g]);
    });
    return walk;
}

void InFirstFrame(const std::function<void(ClassVane&, ClassVScreen&)>& body) {
    VHeadlessOptions options;
    options.frameBudget = 1;
    Harness h(options);
    h.script.frame = [&](ClassVane& app, ClassVScreen& screen, uint32_t) { body(app, screen); };
    ASSERT_EQ(h.Run(), 0u);
}

TEST(ModelScenes, NoVertexReachesTheViewpointInAnyFrame) {
    InFirstFrame([](ClassVane& app, ClassVScreen& screen) {
        for (const VModelScene& scene : kModelScenes) {
            const SceneWalk walk = Walk(app, screen, scene, {""});
            ASSERT_FALSE(walk.frames.empty());
            const int32_t nearest = *std::max_element(walk.nearest.begin(), walk.nearest.end());
            EXPECT_LT(nearest, kNearDepth) << scene.file;
            testing::Test::RecordProperty(std::string("nearest_") + scene.file, nearest);
        }
    });
}

TEST(ModelScenes, RaidersFlyInFromTheRightAndTheLeaderHoversInThePicture) {
    InFirstFrame([](ClassVane& app, ClassVScreen& screen) {
        const std::vector<std::string> craft = {"lead", "wing1", "wing2"};
        const SceneWalk walk = Walk(app, screen, kModelScenes[0], craft);
        for (const std::string& c : craft) {
            const std::vector<Box>& boxes = walk.boxes.at(c);
            EXPECT_GT(boxes.front().left, kWidth) << c << " starts in the picture";
            EXPECT_TRUE(
                std::any_of(boxes.begin(), boxes.end(), [](const Box& b) { return b.Inside(); }))
                << c << " is never wholly seen";
        }
        uint32_t hovering = 0;
        for (size_t i = 0; i < walk.frames.size(); ++i) {
            const VModelFrame& f = walk.frames[i];
            if (f.x != -12900 || f.y != -1500 || f.z != 25000) continue;
            ++hovering;
            EXPECT_TRUE(walk.boxes.at("lead")[i].Inside()) << "frame " << f.frame;
            EXPECT_TRUE(walk.boxes.at("wing1")[i].Outside()) << "frame " << f.frame;
            EXPECT_TRUE(walk.boxes.at("wing2")[i].Outside()) << "frame " << f.frame;
        }
        EXPECT_GT(hovering, 200u);
    });
}

TEST(ModelScenes, TowersStayInThePicture) {
    InFirstFrame([](ClassVane& app, ClassVScreen& screen) {
        for (const VModelScene& scene : {kModelScenes[1], kModelScenes[2]}) {
            const SceneWalk walk = Walk(app, screen, scene, {""});
            const std::vector<Box>& boxes = walk.boxes.at("");
            for (size_t i = 0; i < boxes.size(); ++i) {
                EXPECT_TRUE(boxes[i].Inside()) << scene.file << " frame " << walk.frames[i].frame;
            }
        }
    });
}

TEST(ModelScenes, BossComesFromAfarAndSinksOutOfThePicture) {
    InFirstFrame([](ClassVane& app, ClassVScreen& screen) {
        const SceneWalk walk = Walk(app, screen, kModelScenes[3], {""});
        const std::vector<Box>& b = walk.boxes.at("");
        const Box& first = b.front();
        EXPECT_LT(first.right - first.left, 80) << "far away at first";
        EXPECT_TRUE(first.left >= 40 && first.top >= 40 && first.right <= kWidth - 40 &&
                    first.bottom <= kHeight - 40);
        for (size_t i = 1; i < b.size(); ++i) {
            EXPECT_GE(b[i].bottom, b[i - 1].bottom) << "its feet rise at " << walk.frames[i].frame;
        }
        const Box& last = b.back();
        EXPECT_GT(last.right - last.left, kWidth * 0.8) << "it comes close";
        EXPECT_GT(last.bottom, kHeight) << "its feet sink below the picture";
        EXPECT_TRUE(last.top > 0 && last.top < kHeight / 2) << "its head stays in view";
    });
}

}  // namespace
