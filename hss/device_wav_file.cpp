// The WAV file writer: a 44-byte RIFF header whose sizes are filled in when the file is
// complete, followed by the frames exactly as rendered.
#include <cstdio>
#include <new>

#include "hss/device.h"

namespace hss {
namespace {

void PutLe16(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}

void PutLe32(uint8_t* p, uint32_t v) {
    PutLe16(p, v & 0xFFFF);
    PutLe16(p + 2, v >> 16);
}

class WavFileDevice final : public Device {
  public:
    WavFileDevice(std::FILE* file, const MixFormat& format)
        : file_(file), format_(format), frameBytes_(format.channels * format.bits / 8) {}
    ~WavFileDevice() override { Stop(); }

    bool Pulls() const override { return false; }

    unsigned Write(const void* data, unsigned frames) override {
        if (file_ == nullptr || failed_) return HSS_NO_DEVICE;
        size_t bytes = size_t(frames) * frameBytes_;
        // The RIFF sizes are 32 bits: a file that would outgrow them stops taking frames.
        if (dataBytes_ + bytes > 0xFFFFFFFFull - 36) failed_ = true;
        if (!failed_ && std::fwrite(data, 1, bytes, file_) != bytes) failed_ = true;
        if (failed_) return HSS_NO_DEVICE;
        dataBytes_ += bytes;
        return HSS_OK;
    }

    void Stop() override {
        if (file_ == nullptr) return;
        uint8_t header[44];
        WriteHeader(header);
        std::fseek(file_, 0, SEEK_SET);
        std::fwrite(header, 1, sizeof header, file_);
        std::fclose(file_);
        file_ = nullptr;
    }

    bool WriteHeader() {
        uint8_t header[44];
        WriteHeader(header);
        return std::fwrite(header, 1, sizeof header, file_) == sizeof header;
    }

  private:
    void WriteHeader(uint8_t* h) const {
        uint32_t data = uint32_t(dataBytes_);
        const uint8_t tags[4][4] = {
            {'R', 'I', 'F', 'F'}, {'W', 'A', 'V', 'E'}, {'f', 'm', 't', ' '}, {'d', 'a', 't', 'a'}};
        for (int i = 0; i < 4; ++i) h[i] = tags[0][i];
        PutLe32(h + 4, 36 + data);
        for (int i = 0; i < 4; ++i) h[8 + i] = tags[1][i];
        for (int i = 0; i < 4; ++i) h[12 + i] = tags[2][i];
        PutLe32(h + 16, 16);
        PutLe16(h + 20, 1);  // PCM
        PutLe16(h + 22, format_.channels);
        PutLe32(h + 24, format_.rate);
        PutLe32(h + 28, format_.rate * frameBytes_);
        PutLe16(h + 32, frameBytes_);
        PutLe16(h + 34, format_.bits);
        for (int i = 0; i < 4; ++i) h[36 + i] = tags[3][i];
        PutLe32(h + 40, data);
    }

    std::FILE* file_;
    MixFormat format_;
    unsigned frameBytes_;
    uint64_t dataBytes_ = 0;
    bool failed_ = false;
};

}  // namespace

unsigned NewFileDevice(const char* path, const MixFormat& format, Device** out) {
    *out = nullptr;
    if (path == nullptr) return HSS_INVALID;
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return HSS_NO_DEVICE;
    WavFileDevice* device = new (std::nothrow) WavFileDevice(file, format);
    if (device == nullptr) {
        std::fclose(file);
        return HSS_NO_MEMORY;
    }
    if (!device->WriteHeader()) {
        delete device;
        return HSS_NO_DEVICE;
    }
    *out = device;
    return HSS_OK;
}

}  // namespace hss
