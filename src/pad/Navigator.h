#pragma once
// Presses and releases of each device, through its mapping, become Velmora's actions: an
// action fires when the first of its inputs goes down and, held, repeats as a held key does
// (after a delay, then at a steady rate). A device's combination fires once when all of its
// inputs have been held together long enough; letting one go arms it again. Time comes from
// the caller.

#include <map>
#include <set>
#include <vector>

#include "InputEdges.h"
#include "PadMapping.h"

namespace velmora::pad {

struct Timing {
    Time repeatDelay{500};
    Time repeatInterval{33};
    Time combinationHold{2000};
};

struct NavEvent {
    enum class Kind { Action, Combination };
    Kind kind = Kind::Action;
    DeviceId device = 0;
    Action action = Action::Up;
    bool repeat = false;

    bool operator==(const NavEvent&) const = default;
};

class Navigator {
public:
    explicit Navigator(Timing timing = {}) : m_timing(timing) {}

    // A device's mapping, new or changed: what it held is forgotten, so nothing fires or
    // repeats from the old mapping.
    void SetMapping(DeviceId device, Mapping mapping);
    void Remove(DeviceId device);

    void Apply(DeviceId device, const Edge& edge, Time now, std::vector<NavEvent>& out);
    // The repeats and the combinations due by `now`; at most one repeat per action per call,
    // so a late caller never gets a burst of them.
    void Tick(Time now, std::vector<NavEvent>& out);

    // Whatever is held now was pressed for something else (a game starting, a game ending):
    // no action fires or repeats until its inputs are let go, and a combination held now
    // counts its time from `now`.
    void Settle(Time now);

private:
    struct HeldAction {
        int inputs = 0;        // how many of its inputs are down
        bool settled = false;  // held across a Settle: silent until let go
        Time nextRepeat{0};
    };
    struct Device {
        Mapping mapping;
        std::set<Input> held;
        std::map<Action, HeldAction> actions;
        bool combinationHeld = false;
        bool combinationFired = false;
        Time combinationSince{0};
    };
    void UpdateCombination(Device& device, Time now);

    Timing m_timing;
    std::map<DeviceId, Device> m_devices;
};

}  // namespace velmora::pad
