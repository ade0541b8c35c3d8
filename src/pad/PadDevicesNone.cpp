// Velmora built without SDL (VELMORA_GAMEPAD=OFF): no device is ever attached.

#include "PadDevices.h"

namespace velmora::pad {

struct PadDevices::State {
    std::string error = "Velmora was built without game pad support.";
};

PadDevices::PadDevices() : m_state(std::make_unique<State>()) {}
PadDevices::~PadDevices() = default;

bool PadDevices::Available() const {
    return false;
}

const std::string& PadDevices::Error() const {
    return m_state->error;
}

std::vector<RawEvent> PadDevices::Poll() {
    return {};
}

const DeviceInfo* PadDevices::Find(DeviceId /*id*/) const {
    return nullptr;
}

std::vector<DeviceInfo> PadDevices::Devices() const {
    return {};
}

}  // namespace velmora::pad
