#pragma once
// Everything the pads did, read in one call: devices that came and went, Velmora's actions
// (pressed and repeated), combinations held long enough, and the raw presses a stick is
// taught with. Each device works through the mapping taught for its GUID, or else, for a game
// controller, through SDL's mapping and ours; an untaught stick does nothing until taught.
// The caller pumps it, passing the time.

#include <map>
#include <string>
#include <vector>

#include "InputEdges.h"
#include "Navigator.h"
#include "PadDevices.h"

namespace velmora::pad {

struct PadEvent {
    enum class Kind {
        DeviceAdded,
        DeviceRemoved,
        Action,       // action, repeat
        Combination,  // the device's end-game combination, held long enough
        RawDown,      // a raw input went down (input)
        RawUp,        // ... or up
    };
    Kind kind = Kind::Action;
    DeviceId device = 0;
    Action action = Action::Up;
    bool repeat = false;
    Input input;
};

class PadSession {
public:
    explicit PadSession(MappingStore& store, Timing timing = {});

    bool Available() const { return m_devices.Available(); }
    const std::string& Error() const { return m_devices.Error(); }

    std::vector<PadEvent> Poll(Time now);

    // See Navigator::Settle: what is held now fires nothing more until let go.
    void Settle(Time now) { m_navigator.Settle(now); }
    // The devices with this GUID take their mapping from the store again.
    void Reload(const std::string& guid);

    const DeviceInfo* Find(DeviceId id) const { return m_devices.Find(id); }
    std::vector<DeviceInfo> Devices() const { return m_devices.Devices(); }

private:
    Mapping MappingFor(const DeviceInfo& info) const;
    void Added(DeviceId id, std::vector<PadEvent>& out);

    MappingStore& m_store;
    PadDevices m_devices;
    Navigator m_navigator;
    std::map<DeviceId, InputEdges> m_edges;
};

}  // namespace velmora::pad
