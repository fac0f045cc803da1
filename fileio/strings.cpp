#include "fileio/strings.h"

namespace {

template <typename Char>
const Char* OrEmpty(const Char* string) {
    static constexpr Char kEmpty[1] = {};
    return string != nullptr ? string : kEmpty;
}

int32_t Bound(int32_t maximum) {
    return maximum < 0 ? kStrUnbounded : maximum;
}

template <typename To, typename From, typename Convert>
void BoundedCopy(To* destination, const From* source, int32_t maximum, Convert convert) {
    maximum = Bound(maximum);
    if (destination == nullptr || maximum == 0) return;
    source = OrEmpty(source);
    int32_t n = 0;
    for (; n < maximum - 1 && source[n] != 0; ++n) destination[n] = convert(source[n]);
    destination[n] = 0;
}

template <typename Char>
int32_t BoundedLength(const Char* string, int32_t maximum) {
    maximum = Bound(maximum);
    string = OrEmpty(string);
    int32_t n = 0;
    while (n < maximum && string[n] != 0) ++n;
    return n;
}

char16_t FoldCase(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c;
}

char16_t AsWide(char c) {
    return WidenChar(c);
}

char16_t AsWide(char16_t c) {
    return c;
}

template <typename A, typename B>
bool Equal(const A* a, const B* b, bool casesensitive) {
    a = OrEmpty(a);
    b = OrEmpty(b);
    for (;; ++a, ++b) {
        const char16_t ca = AsWide(*a), cb = AsWide(*b);
        if (casesensitive ? ca != cb : FoldCase(ca) != FoldCase(cb)) return false;
        if (ca == 0) return true;
    }
}

template <typename To>
void Append(To* destination, const char* source, int32_t maximum, To (*convert)(char)) {
    maximum = Bound(maximum);
    if (destination == nullptr) return;
    const int32_t used = BoundedLength(destination, maximum);
    if (used >= maximum) return;
    BoundedCopy(destination + used, source, maximum - used, convert);
}

char Same(char c) {
    return c;
}

}  // namespace

void StrCopy(char* destination, const char* source, int32_t maximum) {
    BoundedCopy(destination, source, maximum, Same);
}

void StrCopyToWide(char16_t* destination, const char* source, int32_t maximum) {
    BoundedCopy(destination, source, maximum, WidenChar);
}

void StrCopyFromWide(char* destination, const char16_t* source, int32_t maximum) {
    BoundedCopy(destination, source, maximum, [](char16_t c) { return static_cast<char>(c); });
}

void WStrCopy(char16_t* destination, const char16_t* source, int32_t maximum) {
    BoundedCopy(destination, source, maximum, [](char16_t c) { return c; });
}

int32_t StrLen(const char* string, int32_t maximum) {
    return BoundedLength(string, maximum);
}

int32_t WStrLen(const char16_t* string, int32_t maximum) {
    return BoundedLength(string, maximum);
}

bool StrEqual(const char* a, const char* b, bool casesensitive) {
    return Equal(a, b, casesensitive);
}

bool WStrEqualStr(const char16_t* a, const char* b, bool casesensitive) {
    return Equal(a, b, casesensitive);
}

int32_t WStrFind(const char16_t* string, char16_t character) {
    string = OrEmpty(string);
    for (int32_t i = 0; i < kStrUnbounded && string[i] != 0; ++i) {
        if (string[i] == character) return i;
    }
    return -1;
}

void StrAppend(char* destination, const char* source, int32_t maximum) {
    Append(destination, source, maximum, Same);
}

void WStrAppendStr(char16_t* destination, const char* source, int32_t maximum) {
    Append(destination, source, maximum, WidenChar);
}
