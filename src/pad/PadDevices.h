#pragma once
// The pads and sticks attached, through SDL: its joystick and game controller subsystems
// only, no video, so Velmora runs the same with no display for SDL, no device, or no SDL at
// all (VELMORA_GAMEPAD=OFF builds this without it). Input is read in the background too: the
// emulator has the focus exactly when its combination matters. Devices that come and go are
// opened and closed as SDL reports them. One instance at a time: SDL's event queue is the
// whole process's.

#include <memory>
#include <string>
#include <vector>

#include "PadInput.h"

namespace velmora::pad {

struct DeviceInfo {
    DeviceId id = 0;
    std::string guid;  // SDL's GUID, 32 hex digits: the same stick gives the same one
    std::string name;
    bool controller = false;  // SDL maps it as a game controller
    // Raw axes that rest away from the centre, such as triggers: {axis, rest}.
    std::vector<std::pair<int, int>> axisRests;
};

struct RawEvent {
    enum class Kind { Added, Removed, Button, Hat, Axis };
    Kind kind = Kind::Button;
    DeviceId device = 0;
    Source source = Source::Button;  // Button and Axis: raw, or the controller's own
    int index = 0;
    int value = 0;  // a button: 1 down, 0 up; a hat: SDL's direction bits; an axis: its reading
};

class PadDevices {
public:
    PadDevices();
    ~PadDevices();
    PadDevices(const PadDevices&) = delete;
    PadDevices& operator=(const PadDevices&) = delete;

    // False when SDL could not start, or Velmora was built without it; Error says why.
    bool Available() const;
    const std::string& Error() const;

    // Everything the devices did since the last call, in order. The devices attached when
    // SDL started come first, as added.
    std::vector<RawEvent> Poll();

    const DeviceInfo* Find(DeviceId id) const;
    std::vector<DeviceInfo> Devices() const;

private:
    struct State;
    std::unique_ptr<State> m_state;
};

}  // namespace velmora::pad
