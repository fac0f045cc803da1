// The entry of a program on the web layer: the application it is linked with, in the page's
// canvas "#screen".
#include "platform/web/web_platform.h"

int main() {
    // Static: the browser's callbacks use it long after main has handed over.
    static VWebPlatform platform("#screen");
    platform.Run();
}
