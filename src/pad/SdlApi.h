#pragma once
// The SDL functions Velmora calls. On Windows SDL is linked in, static. On Linux it is loaded
// when the pads are first read: Debian's libSDL2 brings some fifty libraries with it (sound,
// X11, Wayland), which a "Velmora --start" or "--list" would otherwise load on every start,
// and without which Velmora would not start at all. Without it Velmora runs, without pads.

#define SDL_MAIN_HANDLED
#include <SDL.h>

#include <string>

namespace velmora::pad {

// clang-format off
#define VELMORA_SDL_FUNCTIONS(X) \
    X(SetHint) X(SetMainReady) X(InitSubSystem) X(QuitSubSystem) X(GetError) X(PollEvent) \
    X(IsGameController) X(GameControllerOpen) X(GameControllerGetJoystick) \
    X(GameControllerClose) X(JoystickOpen) X(JoystickClose) X(JoystickInstanceID) \
    X(JoystickGetGUID) X(JoystickGetGUIDString) X(JoystickName) X(JoystickNumAxes) \
    X(JoystickGetAxisInitialState) X(TLSCleanup)
// clang-format on

struct SdlApi {
#define VELMORA_SDL_POINTER(name) decltype(&SDL_##name) name = nullptr;
    VELMORA_SDL_FUNCTIONS(VELMORA_SDL_POINTER)
#undef VELMORA_SDL_POINTER
};

// SDL's functions, loaded once for the whole process and kept; nullptr, and `error` says why,
// when SDL is not there.
const SdlApi* LoadSdl(std::string& error);

}  // namespace velmora::pad
