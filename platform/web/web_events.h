// The page's events as framework messages: keys (DOM key codes are the desktop's virtual-key
// codes), mouse buttons, moves and wheel, touch, and focus and visibility as activation.
#pragma once

#include <cstdint>

class VWebPlatform;

// Starts listening on the page for platform; false when the page lacks the canvas.
bool RegisterWebEvents(VWebPlatform& platform);
void UnregisterWebEvents(VWebPlatform& platform);
