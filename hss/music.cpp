#include <new>

#include "hss/hss.h"
#include "hss/mod_module.h"
#include "hss/mod_player.h"
#include "platform/resources.h"

namespace {

// A song that has not ended after this many ticks (about 12 hours at the default tempo) is
// taken as endless when its length is measured.
constexpr uint64_t kMaxMeasuredTicks = 2000000;

}  // namespace

hssMusic::~hssMusic() {
    unload();
}

unsigned hssMusic::load(const void* data, size_t size) {
    hss::ModModule* module = nullptr;
    unsigned result = hss::ParseModule(static_cast<const uint8_t*>(data), size, &module);
    if (result != HSS_OK) return result;
    hss::ModPlayer* player = new (std::nothrow) hss::ModPlayer(module);
    if (player == nullptr) {
        hss::FreeModule(module);
        return HSS_NO_MEMORY;
    }
    unload();
    module_ = module;
    player_ = player;
    return HSS_OK;
}

unsigned hssMusic::load(const VResourceModule* module, unsigned id) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!FindResource(module, "PTMOD", id, &data, &size)) return HSS_NOT_FOUND;
    return load(data, size);
}

void hssMusic::unload() {
    if (speaker_) speaker_->detach(this);
    delete player_;
    player_ = nullptr;
    hss::FreeModule(module_);
    module_ = nullptr;
}

void hssMusic::loop(bool enable) {
    loop_ = enable;
    if (player_ == nullptr) return;
    if (speaker_) speaker_->lockOutput();
    player_->SetLoop(enable);
    if (speaker_) speaker_->unlockOutput();
}

unsigned hssMusic::songRows() const {
    if (module_ == nullptr) return 0;
    hss::ModPlayer scratch(module_);
    for (uint64_t t = 0; t < kMaxMeasuredTicks && scratch.StepTick() > 0; ++t) {
    }
    return unsigned(scratch.RowsPlayed());
}

uint64_t hssMusic::songFrames(unsigned rate) const {
    if (module_ == nullptr || rate == 0) return 0;
    hss::ModPlayer scratch(module_);
    scratch.SetRate(rate);
    uint64_t frames = 0;
    for (uint64_t t = 0; t < kMaxMeasuredTicks; ++t) {
        unsigned n = scratch.StepTick();
        if (n == 0) break;
        frames += n;
    }
    return frames;
}

const char* hssMusic::title() const {
    return module_ ? module_->title : "";
}
