#include "hss/hss.h"
#include "hss/wav_data.h"
#include "platform/resources.h"

hssSound::~hssSound() {
    unload();
}

unsigned hssSound::load(const void* data, size_t size) {
    hss::WavData* wav = nullptr;
    unsigned result = hss::ParseWav(static_cast<const uint8_t*>(data), size, &wav);
    if (result != HSS_OK) return result;
    unload();
    wav_ = wav;
    return HSS_OK;
}

unsigned hssSound::load(const VResourceModule* module, unsigned id) {
    const uint8_t* data = nullptr;
    size_t size = 0;
    if (!FindResource(module, "WAVE", id, &data, &size)) return HSS_NOT_FOUND;
    return load(data, size);
}

void hssSound::unload() {
    if (speaker_) speaker_->detach(this);
    hss::FreeWav(wav_);
    wav_ = nullptr;
}

unsigned hssSound::frames() const {
    return wav_ ? wav_->frames : 0;
}

unsigned hssSound::rate() const {
    return wav_ ? wav_->rate : 0;
}

unsigned hssSound::channels() const {
    return wav_ ? wav_->channels : 0;
}
