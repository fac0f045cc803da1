#include "framework/framework_loaders.h"

#include <array>
#include <new>

#include "framework/screen.h"
#include "imaging/loader_bmp.h"
#include "imaging/loader_gif.h"
#include "imaging/loader_png.h"

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

// In the order they are tried. JPEG, TGA and the model loaders join after PNG as they are
// written.
constexpr std::array<VLoaderRegistrar, 3> kFrameworkLoaders{
    Register<VLoader_BMP>,
    Register<VLoader_GIF>,
    Register<VLoader_PNG>,
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
