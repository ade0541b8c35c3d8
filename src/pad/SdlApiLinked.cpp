// SDL linked into the program (Windows): nothing to load.

#include "SdlApi.h"

namespace velmora::pad {

const SdlApi* LoadSdl(std::string& /*error*/) {
    static const SdlApi api = [] {
        SdlApi linked;
#define VELMORA_SDL_LINKED(name) linked.name = &SDL_##name;
        VELMORA_SDL_FUNCTIONS(VELMORA_SDL_LINKED)
#undef VELMORA_SDL_LINKED
        return linked;
    }();
    return &api;
}

}  // namespace velmora::pad
