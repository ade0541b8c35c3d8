#include "PadSession.h"

namespace velmora::pad {

PadSession::PadSession(MappingStore& store, Timing timing) : m_store(store), m_navigator(timing) {}

Mapping PadSession::MappingFor(const DeviceInfo& info) const {
    if (const std::optional<std::string> text = m_store.Load(info.guid)) {
        if (std::optional<Mapping> taught = ParseMappingText(*text)) {
            return *taught;
        }
    }
    return info.controller ? ControllerMapping() : Mapping{};
}

void PadSession::Added(DeviceId id, std::vector<PadEvent>& out) {
    const DeviceInfo* info = m_devices.Find(id);
    if (info == nullptr) {
        return;
    }
    InputEdges& edges = m_edges[id];
    edges = InputEdges();
    for (const auto& [axis, rest] : info->axisRests) {
        edges.SetAxisRest(Source::Axis, axis, rest);
    }
    m_navigator.SetMapping(id, MappingFor(*info));
    PadEvent added;
    added.kind = PadEvent::Kind::DeviceAdded;
    added.device = id;
    out.push_back(added);
}

void PadSession::Reload(const std::string& guid) {
    for (const DeviceInfo& info : m_devices.Devices()) {
        if (info.guid == guid) {
            m_navigator.SetMapping(info.id, MappingFor(info));
        }
    }
}

std::vector<PadEvent> PadSession::Poll(Time now) {
    std::vector<PadEvent> out;
    std::vector<Edge> edges;
    std::vector<NavEvent> navigation;
    for (const RawEvent& raw : m_devices.Poll()) {
        edges.clear();
        if (raw.kind == RawEvent::Kind::Added) {
            Added(raw.device, out);
            continue;
        }
        InputEdges& device = m_edges[raw.device];
        switch (raw.kind) {
            case RawEvent::Kind::Removed:
                device.ReleaseAll(edges);
                break;
            case RawEvent::Kind::Button:
                device.Button(raw.source, raw.index, raw.value != 0, edges);
                break;
            case RawEvent::Kind::Hat:
                device.Hat(raw.index, raw.value, edges);
                break;
            default:
                device.Axis(raw.source, raw.index, raw.value, edges);
                break;
        }
        for (const Edge& edge : edges) {
            if (edge.input.IsRaw()) {
                PadEvent event;
                event.kind = edge.down ? PadEvent::Kind::RawDown : PadEvent::Kind::RawUp;
                event.device = raw.device;
                event.input = edge.input;
                out.push_back(event);
            }
            m_navigator.Apply(raw.device, edge, now, navigation);
        }
        if (raw.kind == RawEvent::Kind::Removed) {
            m_navigator.Remove(raw.device);
            m_edges.erase(raw.device);
            PadEvent removed;
            removed.kind = PadEvent::Kind::DeviceRemoved;
            removed.device = raw.device;
            out.push_back(removed);
        }
    }
    m_navigator.Tick(now, navigation);
    for (const NavEvent& nav : navigation) {
        PadEvent event;
        event.kind = nav.kind == NavEvent::Kind::Combination ? PadEvent::Kind::Combination
                                                             : PadEvent::Kind::Action;
        event.device = nav.device;
        event.action = nav.action;
        event.repeat = nav.repeat;
        out.push_back(event);
    }
    return out;
}

}  // namespace velmora::pad
