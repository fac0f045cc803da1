// Writes the display's back buffer to a PPM picture, 8 bits per channel, each channel widened
// the way screens widen them (its top bits repeated), so that it can be compared with a
// screenshot of the window.
#pragma once

class ClassVScreen;

bool WriteBackBufferPpm(ClassVScreen& screen, const char* path);
