#include "platform/program_folder.h"

void CutToProgramFolder(char16_t* path) {
    size_t n = 0;
    while (path[n] != 0) ++n;
    // Clear characters from the end back to the last separator, which stays; with no separator
    // at all the first character is kept.
    while (n > 1 && path[n - 1] != u'\\' && path[n - 1] != u'/') path[--n] = 0;
}
