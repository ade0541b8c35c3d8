#pragma once
// What a pad or a stick did, as Velmora reads it: one button, one direction of a hat or one
// direction of an axis, either of the raw joystick or of the game controller SDL makes of it,
// and the actions Velmora's windows know. Plain values, no SDL: the logic above them is
// tested without a device.

#include <chrono>
#include <compare>
#include <cstdint>
#include <string>

namespace velmora::pad {

// Time since an origin of the caller's choosing. Nothing in the logic reads a clock: the
// caller passes the time in, so a test decides how long a button was held.
using Time = std::chrono::milliseconds;

// SDL's instance id of an opened device, unique for as long as the program runs.
using DeviceId = std::int32_t;

enum class Source : std::uint8_t {
    Button,            // a raw joystick button
    Hat,               // one direction of a raw hat
    Axis,              // one direction of a raw axis
    ControllerButton,  // a game controller's button, as SDL's mapping names it
    ControllerAxis,    // one direction of a game controller's axis
};

// Hat directions, numbered as SDL numbers them; a diagonal holds two.
inline constexpr int kHatUp = 1;
inline constexpr int kHatRight = 2;
inline constexpr int kHatDown = 4;
inline constexpr int kHatLeft = 8;

// A game controller's buttons and axes, numbered as SDL numbers them.
inline constexpr int kButtonA = 0;
inline constexpr int kButtonB = 1;
inline constexpr int kButtonX = 2;
inline constexpr int kButtonBack = 4;
inline constexpr int kButtonStart = 6;
inline constexpr int kButtonLeftShoulder = 9;
inline constexpr int kButtonRightShoulder = 10;
inline constexpr int kButtonDpadUp = 11;
inline constexpr int kButtonDpadDown = 12;
inline constexpr int kButtonDpadLeft = 13;
inline constexpr int kButtonDpadRight = 14;
inline constexpr int kAxisLeftX = 0;
inline constexpr int kAxisLeftY = 1;

struct Input {
    Source source = Source::Button;
    int index = 0;
    int direction = 0;  // Hat: one of kHat*; Axis and ControllerAxis: -1 or +1; buttons: 0

    auto operator<=>(const Input&) const = default;
    bool IsRaw() const {
        return source == Source::Button || source == Source::Hat || source == Source::Axis;
    }
};

// The keys a pad stands in for, and the game's configuration.
enum class Action : std::uint8_t {
    Up,
    Down,
    PageUp,
    PageDown,
    Accept,     // Return: starts the selected game, presses a dialog's default button
    Back,       // Escape
    Configure,  // the Configure game dialog of the selected row
    Previous,   // Shift+Tab in a dialog
    Next,       // Tab in a dialog
};
inline constexpr int kActionCount = 9;

// Whether holding the action repeats it, as holding its key does. Accepting, going back and
// configuring never repeat: one press, one game.
inline bool Repeats(Action action) {
    return action != Action::Accept && action != Action::Back && action != Action::Configure;
}

// For people: "button 3", "hat 0 up", "axis 1 -", "A", "left stick up".
std::string DescribeInput(const Input& input);

}  // namespace velmora::pad
