// hello_vane's application class is registered with the framework by hello_app.cpp; its
// entries only choose the platform layer and where the D key writes the back buffer.
#pragma once

// The PPM file the D key writes the back buffer to; null (the default) writes nothing unless
// the framework's command line holds "--dump <file>".
void SetHelloDumpPath(const char* path);
