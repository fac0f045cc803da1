// A string service: the bounded operations of strings.h and numbers.h with its own meaning of
// a negative maximum. The application owns two: the framework's (kStrUnbounded) and the
// platform layer's (kPlatformStrUnbounded), so each set keeps the bounds its callers expect
// while both share one implementation.
#pragma once

#include <cstdint>

#include "fileio/numbers.h"
#include "fileio/strings.h"

// What a negative maximum means to the platform layer's string operations.
constexpr int32_t kPlatformStrUnbounded = 16384;

class ClassVStringService {
  public:
    explicit ClassVStringService(int32_t unbounded) : unbounded_(unbounded) {}

    int32_t Unbounded() const { return unbounded_; }

    void StrCopy(char* destination, const char* source, int32_t maximum) const {
        ::StrCopy(destination, source, Bound(maximum));
    }
    void StrCopyToWide(char16_t* destination, const char* source, int32_t maximum) const {
        ::StrCopyToWide(destination, source, Bound(maximum));
    }
    void StrCopyFromWide(char* destination, const char16_t* source, int32_t maximum) const {
        ::StrCopyFromWide(destination, source, Bound(maximum));
    }
    void WStrCopy(char16_t* destination, const char16_t* source, int32_t maximum) const {
        ::WStrCopy(destination, source, Bound(maximum));
    }
    int32_t StrLen(const char* string, int32_t maximum) const {
        return ::StrLen(string, Bound(maximum));
    }
    int32_t WStrLen(const char16_t* string, int32_t maximum) const {
        return ::WStrLen(string, Bound(maximum));
    }
    void StrAppend(char* destination, const char* source, int32_t maximum) const {
        ::StrAppend(destination, source, Bound(maximum));
    }
    void WStrAppendStr(char16_t* destination, const char* source, int32_t maximum) const {
        ::WStrAppendStr(destination, source, Bound(maximum));
    }
    void StrAppendInt(char* destination, int32_t value, uint32_t base, bool isSigned,
                      int32_t maximum) const {
        ::StrAppendInt(destination, value, base, isSigned, Bound(maximum));
    }
    void WStrAppendInt(char16_t* destination, int32_t value, uint32_t base, bool isSigned,
                       int32_t maximum) const {
        ::WStrAppendInt(destination, value, base, isSigned, Bound(maximum));
    }

  private:
    int32_t Bound(int32_t maximum) const { return maximum < 0 ? unbounded_ : maximum; }

    int32_t unbounded_;
};
