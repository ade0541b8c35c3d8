#pragma once
// Which input does what: the bindings of one device to Velmora's actions, and the combination
// that, held, ends the running game. A game controller gets SDL's mapping and ours on top of
// it; any other stick gets what its user taught, kept as a short text in Velmora's profile
// under the device's GUID.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PadInput.h"

namespace velmora::pad {

struct Binding {
    Input input;
    Action action;

    bool operator==(const Binding&) const = default;
};

struct Mapping {
    std::vector<Binding> bindings;   // an input may appear once; an action more than once
    std::vector<Input> combination;  // held together, ends the running game; none: no way

    std::optional<Action> ActionOf(const Input& input) const;
    std::optional<Input> FirstInputOf(Action action) const;
    bool operator==(const Mapping&) const = default;
};

// A game controller: d-pad or left stick up and down, the shoulders for the pages, A or Start
// to accept, B to go back, X to configure, left and right for the previous and next field;
// Start and Back held together end the game.
Mapping ControllerMapping();

// The profile's text of a taught mapping: "up=h0.1;down=a1+;accept=b0;end=b7,b6", one entry
// per action (inputs separated by commas), "end" for the combination. Raw inputs only: "b"
// and a button's number, "h" a hat's number, "." and its direction (1 up, 2 right, 4 down,
// 8 left), "a" an axis's number and "-" or "+".
std::string MappingText(const Mapping& mapping);
// Nothing when the text is not such a mapping: a profile edited by hand or damaged is then
// ignored as a whole rather than half believed.
std::optional<Mapping> ParseMappingText(std::string_view text);

// Where a device's taught mapping is kept, by the device's GUID. The application keeps it in
// its profile; tests keep it in memory.
class MappingStore {
public:
    virtual ~MappingStore() = default;
    virtual std::optional<std::string> Load(const std::string& guid) = 0;
    // False when it could not be kept.
    virtual bool Save(const std::string& guid, const std::string& text) = 0;
};

}  // namespace velmora::pad
