#include "InputEdges.h"

namespace velmora::pad {

void InputEdges::SetAxisRest(Source source, int axis, int value) {
    m_axisRests[{source, axis}] = value;
}

void InputEdges::Button(Source source, int index, bool down, std::vector<Edge>& out) {
    const Input input{source, index, 0};
    // SDL reports a state, not a change: the same state twice is no second press.
    const bool changed = down ? m_buttons.insert(input).second : m_buttons.erase(input) > 0;
    if (changed) {
        out.push_back({input, down});
    }
}

void InputEdges::Hat(int index, int value, std::vector<Edge>& out) {
    int& held = m_hats[index];
    const int directions[] = {kHatUp, kHatRight, kHatDown, kHatLeft};
    for (const int direction : directions) {
        if ((held & direction) != 0 && (value & direction) == 0) {
            out.push_back({Input{Source::Hat, index, direction}, false});
        }
    }
    for (const int direction : directions) {
        if ((held & direction) == 0 && (value & direction) != 0) {
            out.push_back({Input{Source::Hat, index, direction}, true});
        }
    }
    held = value & (kHatUp | kHatRight | kHatDown | kHatLeft);
}

void InputEdges::Axis(Source source, int index, int value, std::vector<Edge>& out) {
    const auto key = std::make_pair(source, index);
    const auto rest = m_axisRests.find(key);
    const int travel = value - (rest == m_axisRests.end() ? 0 : rest->second);
    int& held = m_axes[key];
    int next = held;
    // Back below the release threshold, or over to the other side: the held direction ends.
    if (held != 0 && travel * held < kReleaseBelow) {
        next = 0;
    }
    if (next == 0) {
        if (travel >= kPressAt) {
            next = 1;
        } else if (travel <= -kPressAt) {
            next = -1;
        }
    }
    if (next == held) {
        return;
    }
    if (held != 0) {
        out.push_back({Input{source, index, held}, false});
    }
    if (next != 0) {
        out.push_back({Input{source, index, next}, true});
    }
    held = next;
}

void InputEdges::ReleaseAll(std::vector<Edge>& out) {
    for (const Input& input : m_buttons) {
        out.push_back({input, false});
    }
    m_buttons.clear();
    for (auto& [index, held] : m_hats) {
        Hat(index, 0, out);
    }
    for (auto& [key, held] : m_axes) {
        if (held != 0) {
            out.push_back({Input{key.first, key.second, held}, false});
            held = 0;
        }
    }
}

}  // namespace velmora::pad
