#include <map>

#include "PadDevices.h"
#include "SdlApi.h"

namespace velmora::pad {

static_assert(kButtonA == SDL_CONTROLLER_BUTTON_A && kButtonB == SDL_CONTROLLER_BUTTON_B &&
              kButtonX == SDL_CONTROLLER_BUTTON_X && kButtonBack == SDL_CONTROLLER_BUTTON_BACK &&
              kButtonStart == SDL_CONTROLLER_BUTTON_START &&
              kButtonLeftShoulder == SDL_CONTROLLER_BUTTON_LEFTSHOULDER &&
              kButtonRightShoulder == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER &&
              kButtonDpadUp == SDL_CONTROLLER_BUTTON_DPAD_UP &&
              kButtonDpadDown == SDL_CONTROLLER_BUTTON_DPAD_DOWN &&
              kButtonDpadLeft == SDL_CONTROLLER_BUTTON_DPAD_LEFT &&
              kButtonDpadRight == SDL_CONTROLLER_BUTTON_DPAD_RIGHT &&
              kAxisLeftX == SDL_CONTROLLER_AXIS_LEFTX && kAxisLeftY == SDL_CONTROLLER_AXIS_LEFTY);
static_assert(kHatUp == SDL_HAT_UP && kHatRight == SDL_HAT_RIGHT && kHatDown == SDL_HAT_DOWN &&
              kHatLeft == SDL_HAT_LEFT);

namespace {

constexpr Uint32 kSubsystems = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;
// A raw axis whose first reading lies this far out rests there (a trigger, a pedal).
constexpr int kRestsAtEnd = 24576;

struct Opened {
    SDL_Joystick* joystick = nullptr;
    SDL_GameController* controller = nullptr;  // besides the joystick, when SDL maps it
    DeviceInfo info;
};

}  // namespace

struct PadDevices::State {
    const SdlApi* sdl = nullptr;
    bool available = false;
    std::string error;
    std::map<DeviceId, Opened> devices;

    void Open(int index, std::vector<RawEvent>& out);
    void Close(DeviceId id, std::vector<RawEvent>& out);
};

PadDevices::PadDevices() : m_state(std::make_unique<State>()) {
    const SdlApi* sdl = LoadSdl(m_state->error);
    if (sdl == nullptr) {
        return;
    }
    m_state->sdl = sdl;
    // SDL would turn SIGINT and SIGTERM into events of its own, and Velmora must end on them
    // as it always has.
    sdl->SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // The emulator has the focus while its game runs, and the combination must still count.
    sdl->SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    sdl->SetMainReady();
    if (sdl->InitSubSystem(kSubsystems) != 0) {
        m_state->error = sdl->GetError();
        return;
    }
    m_state->available = true;
}

PadDevices::~PadDevices() {
    if (m_state->sdl == nullptr) {
        return;
    }
    if (m_state->available) {
        std::vector<RawEvent> ignored;
        while (!m_state->devices.empty()) {
            m_state->Close(m_state->devices.begin()->first, ignored);
        }
        m_state->sdl->QuitSubSystem(kSubsystems);
    }
    // What SDL keeps for this thread (its error text) goes with it: the thread may be one of
    // ours that SDL did not make, such as the one "--start" reads the pads on.
    m_state->sdl->TLSCleanup();
}

bool PadDevices::Available() const {
    return m_state->available;
}

const std::string& PadDevices::Error() const {
    return m_state->error;
}

void PadDevices::State::Open(int index, std::vector<RawEvent>& out) {
    Opened opened;
    if (sdl->IsGameController(index)) {
        opened.controller = sdl->GameControllerOpen(index);
    }
    opened.joystick = opened.controller != nullptr
                          ? sdl->GameControllerGetJoystick(opened.controller)
                          : sdl->JoystickOpen(index);
    if (opened.joystick == nullptr) {
        return;  // gone again already, or not ours to open
    }
    DeviceInfo& info = opened.info;
    info.id = sdl->JoystickInstanceID(opened.joystick);
    if (devices.count(info.id) > 0) {
        if (opened.controller != nullptr) {
            sdl->GameControllerClose(opened.controller);
        } else {
            sdl->JoystickClose(opened.joystick);
        }
        return;  // SDL said so twice
    }
    char guid[33] = {};
    sdl->JoystickGetGUIDString(sdl->JoystickGetGUID(opened.joystick), guid, sizeof guid);
    info.guid = guid;
    const char* name = sdl->JoystickName(opened.joystick);
    info.name = name != nullptr ? name : "";
    info.controller = opened.controller != nullptr;
    for (int axis = 0; axis < sdl->JoystickNumAxes(opened.joystick); ++axis) {
        Sint16 rest = 0;
        if (sdl->JoystickGetAxisInitialState(opened.joystick, axis, &rest) == SDL_TRUE &&
            (rest >= kRestsAtEnd || rest <= -kRestsAtEnd)) {
            info.axisRests.emplace_back(axis, rest);
        }
    }
    out.push_back({RawEvent::Kind::Added, info.id});
    devices.emplace(info.id, std::move(opened));
}

void PadDevices::State::Close(DeviceId id, std::vector<RawEvent>& out) {
    const auto found = devices.find(id);
    if (found == devices.end()) {
        return;
    }
    if (found->second.controller != nullptr) {
        sdl->GameControllerClose(found->second.controller);
    } else {
        sdl->JoystickClose(found->second.joystick);
    }
    devices.erase(found);
    out.push_back({RawEvent::Kind::Removed, id});
}

std::vector<RawEvent> PadDevices::Poll() {
    std::vector<RawEvent> out;
    if (!m_state->available) {
        return out;
    }
    const SdlApi* sdl = m_state->sdl;
    SDL_Event event;
    while (sdl->PollEvent(&event) != 0) {
        switch (event.type) {
            case SDL_JOYDEVICEADDED:
                m_state->Open(event.jdevice.which, out);
                break;
            case SDL_JOYDEVICEREMOVED:
                m_state->Close(event.jdevice.which, out);
                break;
            case SDL_JOYBUTTONDOWN:
            case SDL_JOYBUTTONUP:
                out.push_back({RawEvent::Kind::Button, event.jbutton.which, Source::Button,
                               event.jbutton.button, event.jbutton.state == SDL_PRESSED ? 1 : 0});
                break;
            case SDL_JOYHATMOTION:
                out.push_back({RawEvent::Kind::Hat, event.jhat.which, Source::Hat, event.jhat.hat,
                               event.jhat.value});
                break;
            case SDL_JOYAXISMOTION:
                out.push_back({RawEvent::Kind::Axis, event.jaxis.which, Source::Axis,
                               event.jaxis.axis, event.jaxis.value});
                break;
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP:
                out.push_back({RawEvent::Kind::Button, event.cbutton.which,
                               Source::ControllerButton, event.cbutton.button,
                               event.cbutton.state == SDL_PRESSED ? 1 : 0});
                break;
            case SDL_CONTROLLERAXISMOTION:
                out.push_back({RawEvent::Kind::Axis, event.caxis.which, Source::ControllerAxis,
                               event.caxis.axis, event.caxis.value});
                break;
            default:
                break;  // the rest of SDL's events mean nothing here
        }
    }
    // Events of a device that has gone, or that could not be opened, are dropped.
    std::erase_if(out, [this](const RawEvent& raw) {
        return raw.kind != RawEvent::Kind::Added && raw.kind != RawEvent::Kind::Removed &&
               m_state->devices.count(raw.device) == 0;
    });
    return out;
}

const DeviceInfo* PadDevices::Find(DeviceId id) const {
    const auto found = m_state->devices.find(id);
    return found == m_state->devices.end() ? nullptr : &found->second.info;
}

std::vector<DeviceInfo> PadDevices::Devices() const {
    std::vector<DeviceInfo> infos;
    for (const auto& [id, opened] : m_state->devices) {
        infos.push_back(opened.info);
    }
    return infos;
}

}  // namespace velmora::pad
