#include "framework/framework_loaders.h"

#include <array>

namespace {

// Each decoder adds its registrar here, in its place in the order above, when it joins the
// framework.
constexpr std::array<VLoaderRegistrar, 0> kFrameworkLoaders{};

}  // namespace

unsigned RegisterFrameworkLoaders(ClassVScreen& screen) {
    unsigned registered = 0;
    for (VLoaderRegistrar registrar : kFrameworkLoaders) {
        if (!registrar(screen)) break;
        ++registered;
    }
    return registered;
}
