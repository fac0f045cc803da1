#include "hss/hss.h"

const char* hssResultText(unsigned result) {
    switch (result) {
        case HSS_OK:
            return "ok";
        case HSS_DAMAGED:
            return "damaged or not a module or WAV file";
        case HSS_NO_MEMORY:
            return "out of memory";
        case HSS_NOT_SUPPORTED:
            return "a kind of module or WAV file this library does not play";
        case HSS_INVALID:
            return "invalid argument";
        case HSS_NO_DEVICE:
            return "the output could not be opened";
        case HSS_NOT_OPEN:
            return "the speaker is not open";
        case HSS_NOT_LOADED:
            return "nothing loaded";
        case HSS_NOT_FOUND:
            return "no such resource";
        default:
            return "unknown result";
    }
}
