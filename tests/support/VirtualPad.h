#pragma once
// SDL's virtual joysticks for the pad tests: a game controller or a raw arcade stick that needs
// no device, attached and detached as a test decides, its buttons, hats and axes set from the
// test. They live in SDL's joystick subsystem, which this keeps started while they exist.

#define SDL_MAIN_HANDLED
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

namespace velmora::test {

class VirtualPad {
public:
    // A game controller as SDL knows them: every button and axis a controller has.
    static SDL_VirtualJoystickDesc Controller() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "Velmora test pad";
        return desc;
    }
    // An arcade stick SDL has no mapping for: two axes, eight buttons and a hat.
    static SDL_VirtualJoystickDesc Stick() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_ARCADE_STICK;
        desc.naxes = 2;
        desc.nbuttons = 8;
        desc.nhats = 1;
        desc.vendor_id = 0x1209;
        desc.product_id = 0x5a11;
        desc.name = "Velmora test stick";
        return desc;
    }

    explicit VirtualPad(const SDL_VirtualJoystickDesc& desc) {
        // As Velmora sets them: SDL must leave SIGTERM alone.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        SDL_SetMainReady();
        if (SDL_InitSubSystem(SDL_INIT_JOYSTICK) != 0) {
            ADD_FAILURE() << "SDL's joysticks did not start: " << SDL_GetError();
            return;
        }
        m_started = true;
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        m_joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
        if (m_joystick == nullptr) {
            ADD_FAILURE() << "no virtual joystick: " << SDL_GetError();
            return;
        }
        m_id = SDL_JoystickInstanceID(m_joystick);
        char guid[33] = {};
        SDL_JoystickGetGUIDString(SDL_JoystickGetGUID(m_joystick), guid, sizeof guid);
        m_guid = guid;
    }
    ~VirtualPad() {
        Detach();
        if (m_started) {
            SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        }
    }
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // Unplugged: SDL reports it removed at the next read.
    void Detach() {
        if (m_joystick == nullptr) {
            return;
        }
        SDL_JoystickClose(m_joystick);
        m_joystick = nullptr;
        for (int i = 0; i < SDL_NumJoysticks(); ++i) {
            if (SDL_JoystickGetDeviceInstanceID(i) == m_id) {
                SDL_JoystickDetachVirtual(i);
                break;
            }
        }
    }

    void Button(int button, bool down) {
        SDL_JoystickSetVirtualButton(m_joystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    }
    void Hat(int hat, int value) {
        SDL_JoystickSetVirtualHat(m_joystick, hat, static_cast<Uint8>(value));
    }
    void Axis(int axis, int value) {
        SDL_JoystickSetVirtualAxis(m_joystick, axis, static_cast<Sint16>(value));
    }

    SDL_JoystickID Id() const { return m_id; }
    const std::string& Guid() const { return m_guid; }

private:
    bool m_started = false;
    SDL_Joystick* m_joystick = nullptr;
    SDL_JoystickID m_id = -1;
    std::string m_guid;
};

}  // namespace velmora::test
