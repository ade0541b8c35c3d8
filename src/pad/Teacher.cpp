#include "Teacher.h"

namespace velmora::pad {

const std::vector<Action>& Teacher::Questions() {
    static const std::vector<Action> questions = {
        Action::Up,   Action::Down,      Action::PageUp,   Action::PageDown, Action::Accept,
        Action::Back, Action::Configure, Action::Previous, Action::Next,
    };
    return questions;
}

std::optional<Action> Teacher::Asked() const {
    if (m_step < Questions().size()) {
        return Questions()[m_step];
    }
    return std::nullopt;
}

std::optional<Input> Teacher::Taught(Action action) const {
    for (const Binding& answer : m_answers) {
        if (answer.action == action) {
            return answer.input;
        }
    }
    return std::nullopt;
}

Teacher::Reply Teacher::Press(DeviceId device, const std::string& guid, const Input& input) {
    if (!input.IsRaw() || Done()) {
        return Reply::Ignored;
    }
    if (!m_device) {
        m_device = device;
        m_guid = guid;
    } else if (*m_device != device) {
        return Reply::OtherDevice;
    }
    m_held.insert(input);
    if (AsksCombination()) {
        m_chord.insert(input);
        return Reply::Taken;
    }
    if (m_waitForLetGo) {
        return Reply::Ignored;
    }
    for (const Binding& answer : m_answers) {
        if (answer.input == input) {
            return Reply::InUse;
        }
    }
    m_answers.push_back({input, Questions()[m_step]});
    ++m_step;
    m_waitForLetGo = true;
    if (AsksCombination()) {
        m_chord.clear();
    }
    return Reply::Taken;
}

void Teacher::Release(DeviceId device, const Input& input) {
    if (!m_device || *m_device != device || m_held.erase(input) == 0) {
        return;
    }
    if (m_held.empty()) {
        m_waitForLetGo = false;
    }
    if (AsksCombination() && m_chord.count(input) > 0) {
        m_combination.assign(m_chord.begin(), m_chord.end());
        ++m_step;
    }
}

void Teacher::Skip() {
    if (!Done()) {
        ++m_step;
        m_chord.clear();
    }
}

void Teacher::DeviceGone(DeviceId device) {
    if (m_device && *m_device == device) {
        *this = Teacher();
    }
}

Mapping Teacher::Result() const {
    Mapping mapping;
    mapping.bindings = m_answers;
    mapping.combination = m_combination;
    const std::optional<Input> start = Taught(Action::Accept);
    const std::optional<Input> back = Taught(Action::Back);
    if (mapping.combination.empty() && start && back) {
        mapping.combination = {*start, *back};
    }
    return mapping;
}

}  // namespace velmora::pad
