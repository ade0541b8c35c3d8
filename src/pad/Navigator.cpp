#include "Navigator.h"

#include <algorithm>
#include <utility>

namespace velmora::pad {

void Navigator::SetMapping(DeviceId device, Mapping mapping) {
    Device& state = m_devices[device];
    state = Device{};
    state.mapping = std::move(mapping);
}

void Navigator::Remove(DeviceId device) {
    m_devices.erase(device);
}

void Navigator::Apply(DeviceId id, const Edge& edge, Time now, std::vector<NavEvent>& out) {
    const auto found = m_devices.find(id);
    if (found == m_devices.end()) {
        return;
    }
    Device& device = found->second;
    const bool changed =
        edge.down ? device.held.insert(edge.input).second : device.held.erase(edge.input) > 0;
    if (!changed) {
        return;
    }
    if (const std::optional<Action> action = device.mapping.ActionOf(edge.input)) {
        HeldAction& held = device.actions[*action];
        if (edge.down && ++held.inputs == 1) {
            out.push_back({NavEvent::Kind::Action, id, *action, false});
            held.nextRepeat = now + m_timing.repeatDelay;
        } else if (!edge.down && --held.inputs == 0) {
            device.actions.erase(*action);
        }
    }
    UpdateCombination(device, now);
}

void Navigator::UpdateCombination(Device& device, Time now) {
    const std::vector<Input>& combination = device.mapping.combination;
    const bool all = !combination.empty() &&
                     std::all_of(combination.begin(), combination.end(),
                                 [&](const Input& input) { return device.held.count(input) > 0; });
    if (all && !device.combinationHeld) {
        device.combinationSince = now;
    }
    if (!all) {
        device.combinationFired = false;
    }
    device.combinationHeld = all;
}

void Navigator::Tick(Time now, std::vector<NavEvent>& out) {
    for (auto& [id, device] : m_devices) {
        for (auto& [action, held] : device.actions) {
            if (held.settled || !Repeats(action) || now < held.nextRepeat) {
                continue;
            }
            out.push_back({NavEvent::Kind::Action, id, action, true});
            held.nextRepeat += m_timing.repeatInterval;
            if (held.nextRepeat <= now) {
                held.nextRepeat = now + m_timing.repeatInterval;  // fallen behind: no catching up
            }
        }
        if (device.combinationHeld && !device.combinationFired &&
            now - device.combinationSince >= m_timing.combinationHold) {
            device.combinationFired = true;
            out.push_back({NavEvent::Kind::Combination, id, Action::Up, false});
        }
    }
}

void Navigator::Settle(Time now) {
    for (auto& [id, device] : m_devices) {
        for (auto& [action, held] : device.actions) {
            held.settled = true;
        }
        device.combinationSince = now;
    }
}

}  // namespace velmora::pad
