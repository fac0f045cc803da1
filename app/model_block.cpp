// The Model block draws the current model once the display's 3D operations are in; until
// then the scenes draw without it.
#include "app/class_main.h"

void ClassMain::Model(int32_t, int32_t, int32_t, int32_t, int32_t, uint32_t) {}
void ClassMain::Light() {}
