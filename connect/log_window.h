// ClassVLogWindow: the console window in which the framework can show its messages. A
// windowed display opens it at start when asked to (VScreenSettings::console), and the
// status line's console button opens and closes it.
#pragma once

#include <cstdint>

struct VPlatformInstance;

class ClassVLogWindow {
  public:
    ClassVLogWindow() = default;
    ClassVLogWindow(const ClassVLogWindow&) = delete;
    ClassVLogWindow& operator=(const ClassVLogWindow&) = delete;
    ~ClassVLogWindow() { Close(); }

    void SetInstance(VPlatformInstance* instance, uintptr_t instanceHandle) {
        instance_ = instance;
        instanceHandle_ = instanceHandle;
    }
    // Opening an open console, or closing a closed one, changes nothing.
    void Open() { open_ = true; }
    void Close() { open_ = false; }
    bool IsOpen() const { return open_; }
    VPlatformInstance* Instance() const { return instance_; }
    uintptr_t InstanceHandle() const { return instanceHandle_; }

  private:
    VPlatformInstance* instance_ = nullptr;
    uintptr_t instanceHandle_ = 0;
    bool open_ = false;
};
