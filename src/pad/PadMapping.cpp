#include "PadMapping.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace velmora::pad {

namespace {

// The profile's names of the actions, in Action's order.
constexpr std::array<std::string_view, kActionCount> kActionNames = {
    "up", "down", "pageup", "pagedown", "accept", "back", "configure", "previous", "next"};
constexpr std::string_view kCombinationName = "end";
// More than any device has; it keeps a damaged text from naming absurd numbers.
constexpr int kMaxIndex = 1023;

// Appended piece by piece: GCC 12 at -O3 takes a literal + std::string for an overlapping copy.
std::string InputText(const Input& input) {
    std::string text;
    switch (input.source) {
        case Source::Button:
            text += 'b';
            text += std::to_string(input.index);
            break;
        case Source::Hat:
            text += 'h';
            text += std::to_string(input.index);
            text += '.';
            text += std::to_string(input.direction);
            break;
        case Source::Axis:
            text += 'a';
            text += std::to_string(input.index);
            text += input.direction < 0 ? '-' : '+';
            break;
        default:
            break;  // a controller's inputs come from SDL's mapping, never from the profile
    }
    return text;
}

// A whole number from 0 to kMaxIndex at the front of `text`, taken off it.
std::optional<int> TakeIndex(std::string_view& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() || value < 0 || value > kMaxIndex) {
        return std::nullopt;
    }
    text.remove_prefix(static_cast<size_t>(end - text.data()));
    return value;
}

std::optional<Input> ParseInput(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    const char kind = text.front();
    text.remove_prefix(1);
    const std::optional<int> index = TakeIndex(text);
    if (!index) {
        return std::nullopt;
    }
    if (kind == 'b' && text.empty()) {
        return Input{Source::Button, *index, 0};
    }
    if (kind == 'a' && (text == "-" || text == "+")) {
        return Input{Source::Axis, *index, text == "-" ? -1 : 1};
    }
    if (kind == 'h' && !text.empty() && text.front() == '.') {
        text.remove_prefix(1);
        const std::optional<int> direction = TakeIndex(text);
        if (direction && text.empty() &&
            (*direction == kHatUp || *direction == kHatRight || *direction == kHatDown ||
             *direction == kHatLeft)) {
            return Input{Source::Hat, *index, *direction};
        }
    }
    return std::nullopt;
}

// The text's inputs, split at commas; nothing when any of them is not an input.
std::optional<std::vector<Input>> ParseInputs(std::string_view text) {
    std::vector<Input> inputs;
    for (;;) {
        const size_t comma = text.find(',');
        const std::optional<Input> input = ParseInput(text.substr(0, comma));
        if (!input) {
            return std::nullopt;
        }
        inputs.push_back(*input);
        if (comma == std::string_view::npos) {
            return inputs;
        }
        text.remove_prefix(comma + 1);
    }
}

std::string HatName(int direction) {
    switch (direction) {
        case kHatUp:
            return "up";
        case kHatRight:
            return "right";
        case kHatDown:
            return "down";
        default:
            return "left";
    }
}

}  // namespace

std::optional<Action> Mapping::ActionOf(const Input& input) const {
    for (const Binding& binding : bindings) {
        if (binding.input == input) {
            return binding.action;
        }
    }
    return std::nullopt;
}

std::optional<Input> Mapping::FirstInputOf(Action action) const {
    for (const Binding& binding : bindings) {
        if (binding.action == action) {
            return binding.input;
        }
    }
    return std::nullopt;
}

Mapping ControllerMapping() {
    const auto button = [](int index) { return Input{Source::ControllerButton, index, 0}; };
    const auto stick = [](int axis, int direction) {
        return Input{Source::ControllerAxis, axis, direction};
    };
    Mapping mapping;
    mapping.bindings = {
        {button(kButtonDpadUp), Action::Up},
        {stick(kAxisLeftY, -1), Action::Up},
        {button(kButtonDpadDown), Action::Down},
        {stick(kAxisLeftY, 1), Action::Down},
        {button(kButtonLeftShoulder), Action::PageUp},
        {button(kButtonRightShoulder), Action::PageDown},
        {button(kButtonA), Action::Accept},
        {button(kButtonStart), Action::Accept},
        {button(kButtonB), Action::Back},
        {button(kButtonX), Action::Configure},
        {button(kButtonDpadLeft), Action::Previous},
        {stick(kAxisLeftX, -1), Action::Previous},
        {button(kButtonDpadRight), Action::Next},
        {stick(kAxisLeftX, 1), Action::Next},
    };
    mapping.combination = {button(kButtonStart), button(kButtonBack)};
    return mapping;
}

std::string MappingText(const Mapping& mapping) {
    std::string text;
    const auto entry = [&text](std::string_view name, const std::vector<Input>& inputs) {
        std::string list;
        for (const Input& input : inputs) {
            const std::string one = InputText(input);
            if (!one.empty()) {
                if (!list.empty()) {
                    list += ',';
                }
                list += one;
            }
        }
        if (list.empty()) {
            return;
        }
        if (!text.empty()) {
            text += ';';
        }
        text += name;
        text += '=';
        text += list;
    };
    for (int a = 0; a < kActionCount; ++a) {
        std::vector<Input> inputs;
        for (const Binding& binding : mapping.bindings) {
            if (static_cast<int>(binding.action) == a) {
                inputs.push_back(binding.input);
            }
        }
        entry(kActionNames[static_cast<size_t>(a)], inputs);
    }
    entry(kCombinationName, mapping.combination);
    return text;
}

std::optional<Mapping> ParseMappingText(std::string_view text) {
    Mapping mapping;
    bool seen[kActionCount + 1] = {};
    bool more = !text.empty();  // nothing taught at all is a mapping too
    while (more) {
        const size_t semicolon = text.find(';');
        std::string_view entry = text.substr(0, semicolon);
        more = semicolon != std::string_view::npos;
        text.remove_prefix(more ? semicolon + 1 : text.size());

        const size_t equals = entry.find('=');
        if (equals == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string_view name = entry.substr(0, equals);
        const std::optional<std::vector<Input>> inputs = ParseInputs(entry.substr(equals + 1));
        if (!inputs) {
            return std::nullopt;
        }
        const auto* found = std::find(kActionNames.begin(), kActionNames.end(), name);
        if (found == kActionNames.end() && name != kCombinationName) {
            return std::nullopt;
        }
        const size_t slot = static_cast<size_t>(found - kActionNames.begin());
        if (seen[slot]) {
            return std::nullopt;  // named twice
        }
        seen[slot] = true;
        if (slot == kActionCount) {
            mapping.combination = *inputs;
            continue;
        }
        for (const Input& input : *inputs) {
            if (mapping.ActionOf(input)) {
                return std::nullopt;  // one input cannot mean two actions
            }
            mapping.bindings.push_back({input, static_cast<Action>(slot)});
        }
    }
    return mapping;
}

std::string DescribeInput(const Input& input) {
    std::string text;
    switch (input.source) {
        case Source::Button:
            text = "button ";
            break;
        case Source::Hat:
            text = "hat ";
            break;
        case Source::Axis:
            text = "axis ";
            break;
        case Source::ControllerButton:
            text = "controller button ";
            break;
        case Source::ControllerAxis:
            text = "controller axis ";
            break;
    }
    text += std::to_string(input.index);
    if (input.source == Source::Hat) {
        text += ' ';
        text += HatName(input.direction);
    } else if (input.source == Source::Axis || input.source == Source::ControllerAxis) {
        text += input.direction < 0 ? " -" : " +";
    }
    return text;
}

}  // namespace velmora::pad
