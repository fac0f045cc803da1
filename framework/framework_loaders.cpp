#include "framework/framework_loaders.h"

#include <array>
#include <new>

#include "framework/screen.h"
#include "imaging/loader_bmp.h"
#include "imaging/loader_gif.h"
#include "imaging/loader_jpg.h"
#include "imaging/loader_png.h"
#include "imaging/loader_tga.h"
#include "render3d/loader_3ds.h"
#include "render3d/loader_ms3d.h"
#include "render3d/loader_v3d.h"

namespace {

// Creates a loader and hands it to the display, which owns it from then on; a loader the
// display refuses is deleted here.
template <typename Loader>
bool Register(ClassVScreen& screen) {
    Loader* loader = new (std::nothrow) Loader();
    if (loader == nullptr) return false;
    if (screen.RegisterLoader(loader)) return true;
    delete loader;
    return false;
}

// In the order they are tried; TGA has no signature and must follow every image loader that
// has one.
constexpr std::array<VLoaderRegistrar, 8> kFrameworkLoaders{
    Register<VLoader_BMP>, Register<VLoader_GIF>, Register<VLoader_PNG>,  Register<VLoader_JPG>,
    Register<VLoader_TGA>, Register<VLoader_3DS>, Register<VLoader_MS3D>, Register<VLoader_V3D>,
};

}  // namespace

unsigned RegisterFrameworkLoaders(ClassVScreen& screen) {
    unsigned registered = 0;
    for (VLoaderRegistrar registrar : kFrameworkLoaders) {
        if (!registrar(screen)) break;
        ++registered;
    }
    return registered;
}
