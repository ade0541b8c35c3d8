// SDL loaded from Debian's libSDL2 the first time the pads are read, and kept until the
// program ends: SDL may leave threads of its own behind.

#include <dlfcn.h>

#include "SdlApi.h"

namespace velmora::pad {

namespace {

constexpr const char* kLibrary = "libSDL2-2.0.so.0";

struct Loaded {
    SdlApi api;
    std::string error;
};

Loaded Load() {
    Loaded loaded;
    void* library = dlopen(kLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        const char* why = dlerror();
        loaded.error = why != nullptr ? why : kLibrary;
        return loaded;
    }
#define VELMORA_SDL_LOADED(name)                                                                 \
    loaded.api.name = reinterpret_cast<decltype(loaded.api.name)>(dlsym(library, "SDL_" #name)); \
    if (loaded.api.name == nullptr) {                                                            \
        loaded.error = std::string(kLibrary) + " lacks SDL_" #name;                              \
        return loaded;                                                                           \
    }
    VELMORA_SDL_FUNCTIONS(VELMORA_SDL_LOADED)
#undef VELMORA_SDL_LOADED
    return loaded;
}

}  // namespace

const SdlApi* LoadSdl(std::string& error) {
    static const Loaded loaded = Load();
    if (!loaded.error.empty()) {
        error = loaded.error;
        return nullptr;
    }
    return &loaded.api;
}

}  // namespace velmora::pad
