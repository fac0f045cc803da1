// The image and model loaders the framework registers with the display when it starts, in
// the order in which they are tried: BMP, GIF, PNG, JPEG, TGA, 3D Studio, MilkShape 3D, V3D.
#pragma once

class ClassVScreen;

// Creates and registers one loader; false when it could not be created or the display's
// loader list is full.
using VLoaderRegistrar = bool (*)(ClassVScreen& screen);

// Registers the framework's loaders in order; stops at the first that fails, and the
// start-up goes on with those registered so far. Returns how many were registered.
unsigned RegisterFrameworkLoaders(ClassVScreen& screen);
