#pragma once
// One device's raw readings turned into presses and releases: a button goes down or up, a hat
// enters or leaves a direction, an axis passes its thresholds. An axis is pressed at half its
// travel and released only below a quarter, so a stick that trembles at the threshold gives
// one press, not a burst.

#include <map>
#include <set>
#include <utility>
#include <vector>

#include "PadInput.h"

namespace velmora::pad {

struct Edge {
    Input input;
    bool down = false;

    bool operator==(const Edge&) const = default;
};

class InputEdges {
public:
    static constexpr int kPressAt = 16384;  // half an axis's travel from where it rests
    static constexpr int kReleaseBelow = 8192;

    // Where an axis lies untouched. A centred stick rests at 0, but some axes (a raw trigger,
    // a pedal) rest at one end; their travel is counted from there.
    void SetAxisRest(Source source, int axis, int value);

    // Each appends the edges the reading makes to `out`: a release before a press.
    void Button(Source source, int index, bool down, std::vector<Edge>& out);
    void Hat(int index, int value, std::vector<Edge>& out);  // value: SDL's direction bits
    void Axis(Source source, int index, int value, std::vector<Edge>& out);
    // Everything still held is released, as when the device goes away.
    void ReleaseAll(std::vector<Edge>& out);

private:
    std::set<Input> m_buttons;
    std::map<int, int> m_hats;                          // hat -> direction bits
    std::map<std::pair<Source, int>, int> m_axes;       // axis -> -1, 0 or +1
    std::map<std::pair<Source, int>, int> m_axisRests;  // axis -> its rest, when not 0
};

}  // namespace velmora::pad
