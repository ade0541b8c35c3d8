#pragma once
// Teaching a stick that SDL does not know as a game controller: Velmora asks for each action
// in turn, and the first raw button, hat direction or axis direction pressed answers it. The
// first answer picks the device; the others must come from the same one. After each answer
// every input must be let go before the next counts, so a stick pushed a little askew does not
// answer two questions at once. Last comes the combination that ends a running game: the
// inputs held together when the first of them is let go.

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "PadMapping.h"

namespace velmora::pad {

class Teacher {
public:
    enum class Reply {
        Taken,        // the input answers the question; the next one is asked
        InUse,        // it already answers an earlier question
        OtherDevice,  // it came from another device than the first answer
        Ignored,      // not a raw input, nothing asked any more, or still waiting for a let-go
    };

    // The questions, in the order asked; the combination comes after the last.
    static const std::vector<Action>& Questions();

    // The question asked now, counted from 0; Questions().size() for the combination.
    size_t Step() const { return m_step; }
    bool Done() const { return m_step > Questions().size(); }
    bool AsksCombination() const { return m_step == Questions().size(); }
    // The action asked for now; nothing once the combination, or nothing, is asked.
    std::optional<Action> Asked() const;
    // The input that answered `action`; nothing when skipped or not asked yet.
    std::optional<Input> Taught(Action action) const;

    // The device taught, once it has answered; its GUID keys the mapping in the profile.
    std::optional<DeviceId> Device() const { return m_device; }
    const std::string& Guid() const { return m_guid; }

    Reply Press(DeviceId device, const std::string& guid, const Input& input);
    void Release(DeviceId device, const Input& input);
    void Skip();  // Escape: the question goes unanswered
    // The device taught has gone: everything starts again.
    void DeviceGone(DeviceId device);

    // What was taught. A skipped combination becomes Start game and Back held together, when
    // both were taught: a stick is never left without a way out of a game.
    Mapping Result() const;

private:
    size_t m_step = 0;
    std::optional<DeviceId> m_device;
    std::string m_guid;
    std::vector<Binding> m_answers;
    std::vector<Input> m_combination;
    std::set<Input> m_held;   // the device's inputs now down
    std::set<Input> m_chord;  // the combination's inputs pressed since it was asked
    bool m_waitForLetGo = false;
};

}  // namespace velmora::pad
