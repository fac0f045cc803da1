// How the framework creates the program's application object.
//
// A program names its application class once, at namespace scope in one of its sources:
//
//     VANE_APPLICATION(ClassMain);
//
// This registers a factory before main() runs; CreateApplication, called by the framework on
// VMSG_CREATE, uses it. A program that registers nothing gets a plain ClassVane: an
// application that overrides nothing, which opens its display and draws nothing. A
// registration is an object, so a test can register an application class for the length of
// a scope; when it ends the previous factory is back.
#pragma once

#include <cstdint>
#include <new>

#include "framework/vane.h"

// Built by the framework for the factory.
struct VStartRecord {
    uintptr_t instanceHandle = 0;
    char commandLine[kCommandLineBytes] = {};  // UTF-8; empty when it could not be converted
    // 0 on entry. The factory may set it; when no object is created it becomes the exit code.
    uint32_t resultCode = 0;
};

// Returns a new application object, or null (out of memory, or a factory that refuses).
using VApplicationFactory = ClassVane* (*)(VStartRecord* start);

ClassVane* CreateApplication(VStartRecord* start);

class VApplicationRegistration {
  public:
    explicit VApplicationRegistration(VApplicationFactory factory);
    ~VApplicationRegistration();
    VApplicationRegistration(const VApplicationRegistration&) = delete;
    VApplicationRegistration& operator=(const VApplicationRegistration&) = delete;

  private:
    VApplicationFactory previous_;
};

// The factory for an application class with a default constructor.
template <class Application>
ClassVane* MakeApplication(VStartRecord*) {
    return new (std::nothrow) Application();
}

#define VANE_APPLICATION(Application)                             \
    static VApplicationRegistration vaneApplicationRegistration { \
        &MakeApplication<Application>                             \
    }
