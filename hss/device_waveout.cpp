// The system output on Windows through winmm's waveOut. A thread of the device keeps a ring of
// buffers queued: it waits on the device's event, mixes into every buffer the device has
// played and queues it again. The speaker takes the device lock (a critical section) around
// every change it makes to the mixer, and the thread holds it while it mixes, so the two never
// race. A machine without a wave output fails the open with HSS_NO_DEVICE.
#include <windows.h>
// After windows.h, whose types it uses.
#include <mmsystem.h>

#include <atomic>
#include <new>

#include "hss/device.h"

namespace hss {
namespace {

constexpr unsigned kBuffers = 4;

class WaveOutDevice final : public Device {
  public:
    WaveOutDevice() { InitializeCriticalSection(&lock_); }
    ~WaveOutDevice() override {
        Stop();
        DeleteCriticalSection(&lock_);
    }

    unsigned Open(Mixer* mixer) {
        mixer_ = mixer;
        const MixFormat& f = mixer->Format();
        frameBytes_ = f.channels * f.bits / 8;
        // About 23 ms per buffer (512 frames at 22 050 Hz), four of them queued: short enough
        // that a sound starts when asked, long enough not to run dry on a busy machine.
        frames_ = 256;
        while (frames_ < f.rate / 43) frames_ *= 2;
        memory_ = new (std::nothrow) char[size_t(frames_) * frameBytes_ * kBuffers];
        if (memory_ == nullptr) return HSS_NO_MEMORY;

        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = WORD(f.channels);
        format.nSamplesPerSec = f.rate;
        format.wBitsPerSample = WORD(f.bits);
        format.nBlockAlign = WORD(frameBytes_);
        format.nAvgBytesPerSec = f.rate * frameBytes_;
        event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (event_ == nullptr) return HSS_NO_DEVICE;
        if (waveOutOpen(&out_, WAVE_MAPPER, &format, DWORD_PTR(event_), 0, CALLBACK_EVENT) !=
            MMSYSERR_NOERROR) {
            out_ = nullptr;
            return HSS_NO_DEVICE;
        }
        for (unsigned i = 0; i < kBuffers; ++i) {
            WAVEHDR& header = headers_[i];
            header = WAVEHDR{};
            header.lpData = memory_ + size_t(i) * frames_ * frameBytes_;
            header.dwBufferLength = frames_ * frameBytes_;
            if (waveOutPrepareHeader(out_, &header, sizeof(header)) != MMSYSERR_NOERROR) {
                return HSS_NO_DEVICE;
            }
            // Played already, as far as the thread is concerned: it fills and queues it.
            header.dwFlags |= WHDR_DONE;
        }
        thread_ = CreateThread(nullptr, 0, &WaveOutDevice::Feed, this, 0, nullptr);
        return thread_ != nullptr ? HSS_OK : HSS_NO_DEVICE;
    }

    bool Pulls() const override { return true; }
    void Lock() override { EnterCriticalSection(&lock_); }
    void Unlock() override { LeaveCriticalSection(&lock_); }
    unsigned Write(const void*, unsigned) override { return HSS_INVALID; }

    void Stop() override {
        if (thread_ != nullptr) {
            stopping_ = true;
            SetEvent(event_);
            WaitForSingleObject(thread_, INFINITE);
            CloseHandle(thread_);
            thread_ = nullptr;
        }
        if (out_ != nullptr) {
            // Returns every queued buffer, so that each can be unprepared.
            waveOutReset(out_);
            for (WAVEHDR& header : headers_) {
                if (header.dwFlags & WHDR_PREPARED) {
                    waveOutUnprepareHeader(out_, &header, sizeof(header));
                }
            }
            waveOutClose(out_);
            out_ = nullptr;
        }
        if (event_ != nullptr) CloseHandle(event_);
        event_ = nullptr;
        delete[] memory_;
        memory_ = nullptr;
    }

  private:
    static DWORD WINAPI Feed(void* self) {
        static_cast<WaveOutDevice*>(self)->FeedLoop();
        return 0;
    }

    void FeedLoop() {
        while (!stopping_) {
            for (WAVEHDR& header : headers_) {
                if (!(header.dwFlags & WHDR_DONE)) continue;
                header.dwFlags &= ~DWORD(WHDR_DONE);
                Lock();
                mixer_->Render(header.lpData, frames_);
                Unlock();
                waveOutWrite(out_, &header, sizeof(header));
            }
            WaitForSingleObject(event_, INFINITE);
        }
    }

    Mixer* mixer_ = nullptr;
    HWAVEOUT out_ = nullptr;
    HANDLE event_ = nullptr;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_;
    WAVEHDR headers_[kBuffers] = {};
    char* memory_ = nullptr;
    unsigned frames_ = 0;
    unsigned frameBytes_ = 1;
    std::atomic<bool> stopping_{false};
};

}  // namespace

unsigned NewSystemDevice(Mixer* mixer, Device** out) {
    *out = nullptr;
    WaveOutDevice* device = new (std::nothrow) WaveOutDevice;
    if (device == nullptr) return HSS_NO_MEMORY;
    const unsigned result = device->Open(mixer);
    if (result != HSS_OK) {
        delete device;
        return result;
    }
    *out = device;
    return HSS_OK;
}

}  // namespace hss
