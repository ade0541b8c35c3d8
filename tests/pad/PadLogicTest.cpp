// The pad's logic without a device: readings into presses, presses into actions with repeat
// and the held combination, the profile's text of a taught mapping, teaching, and ending a
// game. Time is whatever each step says.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "GameEnder.h"
#include "InputEdges.h"
#include "Navigator.h"
#include "PadMapping.h"
#include "Teacher.h"

namespace velmora::pad {
namespace {

using std::chrono::milliseconds;

Input RawButton(int index) {
    return {Source::Button, index, 0};
}
Input RawHat(int direction) {
    return {Source::Hat, 0, direction};
}
Input RawAxis(int index, int direction) {
    return {Source::Axis, index, direction};
}
Input PadButton(int index) {
    return {Source::ControllerButton, index, 0};
}
Input PadStick(int axis, int direction) {
    return {Source::ControllerAxis, axis, direction};
}

TEST(InputEdges, ReadingsBecomeOnePressAndOneReleaseEach) {
    enum Kind { Button, Hat, Axis, ReleaseAll };
    struct Reading {
        Kind kind;
        int index;
        int value;
        std::vector<Edge> edges;
    };
    const struct {
        const char* name;
        int triggerRest;  // axis 2 rests here
        std::vector<Reading> readings;
    } cases[] = {
        {"a stick trembling at the threshold presses once, releases below a quarter",
         0,
         {{Axis, 1, 0, {}},
          {Axis, 1, InputEdges::kPressAt - 1, {}},
          {Axis, 1, InputEdges::kPressAt, {{RawAxis(1, 1), true}}},
          {Axis, 1, 15000, {}},
          {Axis, 1, 16500, {}},
          {Axis, 1, InputEdges::kReleaseBelow, {}},
          {Axis, 1, InputEdges::kReleaseBelow - 1, {{RawAxis(1, 1), false}}},
          {Axis, 1, -InputEdges::kPressAt, {{RawAxis(1, -1), true}}}}},
        {"over to the other side in one reading",
         0,
         {{Axis, 0, 32767, {{RawAxis(0, 1), true}}},
          {Axis, 0, -32768, {{RawAxis(0, 1), false}, {RawAxis(0, -1), true}}}}},
        {"a trigger resting at one end counts its travel from there",
         -32768,
         {{Axis, 2, -32768, {}},
          {Axis, 2, -20000, {}},
          {Axis, 2, -16000, {{RawAxis(2, 1), true}}},
          {Axis, 2, -32768, {{RawAxis(2, 1), false}}}}},
        {"a hat's diagonal holds two directions",
         0,
         {{Hat, 0, kHatUp, {{RawHat(kHatUp), true}}},
          {Hat, 0, kHatUp | kHatRight, {{RawHat(kHatRight), true}}},
          {Hat, 0, kHatRight, {{RawHat(kHatUp), false}}},
          {Hat,
           0,
           kHatDown | kHatLeft,
           {{RawHat(kHatRight), false}, {RawHat(kHatDown), true}, {RawHat(kHatLeft), true}}},
          {Hat, 0, 0, {{RawHat(kHatDown), false}, {RawHat(kHatLeft), false}}}}},
        {"a state reported twice is one press",
         0,
         {{Button, 3, 1, {{RawButton(3), true}}},
          {Button, 3, 1, {}},
          {Button, 3, 0, {{RawButton(3), false}}},
          {Button, 3, 0, {}}}},
        {"an unplugged device lets go of everything it held",
         0,
         {{Button, 2, 1, {{RawButton(2), true}}},
          {Hat, 0, kHatUp, {{RawHat(kHatUp), true}}},
          {Axis, 1, -30000, {{RawAxis(1, -1), true}}},
          {ReleaseAll,
           0,
           0,
           {{RawButton(2), false}, {RawHat(kHatUp), false}, {RawAxis(1, -1), false}}},
          {ReleaseAll, 0, 0, {}}}},
    };
    for (const auto& c : cases) {
        InputEdges device;
        if (c.triggerRest != 0) {
            device.SetAxisRest(Source::Axis, 2, c.triggerRest);
        }
        for (size_t i = 0; i < c.readings.size(); ++i) {
            const Reading& reading = c.readings[i];
            std::vector<Edge> edges;
            switch (reading.kind) {
                case Button:
                    device.Button(Source::Button, reading.index, reading.value != 0, edges);
                    break;
                case Hat:
                    device.Hat(reading.index, reading.value, edges);
                    break;
                case Axis:
                    device.Axis(Source::Axis, reading.index, reading.value, edges);
                    break;
                case ReleaseAll:
                    device.ReleaseAll(edges);
                    break;
            }
            EXPECT_EQ(edges, reading.edges) << c.name << ", reading " << i;
        }
    }
}

// One step of a navigator's timeline: an edge of a device, a Settle, or only time passing.
struct Step {
    milliseconds at;
    enum { Press, Release, Tick, Settle } what = Tick;
    DeviceId device = 1;
    Input input;
    std::vector<NavEvent> expected;
};

NavEvent Fired(Action action, DeviceId device = 1) {
    return {NavEvent::Kind::Action, device, action, false};
}
NavEvent Repeated(Action action) {
    return {NavEvent::Kind::Action, 1, action, true};
}
NavEvent Combination(DeviceId device = 1) {
    return {NavEvent::Kind::Combination, device, Action::Up, false};
}

TEST(Navigator, ActionsRepeatAsKeysDoAndTheCombinationNeedsItsWholeHold) {
    constexpr Timing kTiming{milliseconds(500), milliseconds(33), milliseconds(2000)};
    const Input down = PadButton(kButtonDpadDown);
    const Input up = PadButton(kButtonDpadUp);
    const Input stickUp = PadStick(kAxisLeftY, -1);
    const Input start = PadButton(kButtonStart);
    const Input back = PadButton(kButtonBack);
    using S = Step;
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"a held direction repeats after the delay, at the rate, never in a burst",
         {{milliseconds(0), S::Press, 1, down, {Fired(Action::Down)}},
          {milliseconds(499), S::Tick, 1, {}, {}},
          {milliseconds(500), S::Tick, 1, {}, {Repeated(Action::Down)}},
          {milliseconds(532), S::Tick, 1, {}, {}},
          {milliseconds(533), S::Tick, 1, {}, {Repeated(Action::Down)}},
          {milliseconds(900), S::Tick, 1, {}, {Repeated(Action::Down)}},
          {milliseconds(932), S::Tick, 1, {}, {}},
          {milliseconds(933), S::Tick, 1, {}, {Repeated(Action::Down)}},
          {milliseconds(940), S::Release, 1, down, {}},
          {milliseconds(5000), S::Tick, 1, {}, {}}}},
        {"accepting never repeats: one press, one game",
         {{milliseconds(0), S::Press, 1, PadButton(kButtonA), {Fired(Action::Accept)}},
          {milliseconds(5000), S::Tick, 1, {}, {}}}},
        {"the d-pad and the stick are one action: the second adds nothing",
         {{milliseconds(0), S::Press, 1, up, {Fired(Action::Up)}},
          {milliseconds(10), S::Press, 1, stickUp, {}},
          {milliseconds(20), S::Release, 1, up, {}},
          {milliseconds(30), S::Release, 1, stickUp, {}},
          {milliseconds(40), S::Press, 1, stickUp, {Fired(Action::Up)}}}},
        {"Start and Back held 2 s end the game once; let go, they can again",
         {{milliseconds(0), S::Press, 1, start, {Fired(Action::Accept)}},
          {milliseconds(100), S::Press, 1, back, {}},
          {milliseconds(2099), S::Tick, 1, {}, {}},
          {milliseconds(2100), S::Tick, 1, {}, {Combination()}},
          {milliseconds(9000), S::Tick, 1, {}, {}},
          {milliseconds(9100), S::Release, 1, back, {}},
          {milliseconds(9200), S::Press, 1, back, {}},
          {milliseconds(11199), S::Tick, 1, {}, {}},
          {milliseconds(11200), S::Tick, 1, {}, {Combination()}}}},
        {"a short press ends nothing, however long one waits after it",
         {{milliseconds(0), S::Press, 1, back, {}},
          {milliseconds(0), S::Press, 1, start, {Fired(Action::Accept)}},
          {milliseconds(1999), S::Tick, 1, {}, {}},
          {milliseconds(1999), S::Release, 1, start, {}},
          {milliseconds(60000), S::Tick, 1, {}, {}}}},
        {"the combination is one device's: two pads together make none",
         {{milliseconds(0), S::Press, 1, start, {Fired(Action::Accept)}},
          {milliseconds(0), S::Press, 2, back, {}},
          {milliseconds(10000), S::Tick, 1, {}, {}}}},
        {"held across a Settle: no repeat, no second press, the hold counts anew",
         {{milliseconds(0), S::Press, 1, down, {Fired(Action::Down)}},
          {milliseconds(0), S::Press, 1, start, {Fired(Action::Accept)}},
          {milliseconds(0), S::Press, 1, back, {}},
          {milliseconds(1000), S::Settle, 1, {}, {}},
          {milliseconds(2500), S::Tick, 1, {}, {}},
          {milliseconds(2999), S::Tick, 1, {}, {}},
          {milliseconds(3000), S::Tick, 1, {}, {Combination()}},
          {milliseconds(3100), S::Release, 1, down, {}},
          {milliseconds(3200), S::Press, 1, down, {Fired(Action::Down)}}}},
    };
    for (const auto& c : cases) {
        Navigator navigator(kTiming);
        navigator.SetMapping(1, ControllerMapping());
        navigator.SetMapping(2, ControllerMapping());
        for (size_t i = 0; i < c.steps.size(); ++i) {
            const Step& step = c.steps[i];
            std::vector<NavEvent> events;
            switch (step.what) {
                case S::Press:
                case S::Release:
                    navigator.Apply(step.device, {step.input, step.what == S::Press}, step.at,
                                    events);
                    break;
                case S::Settle:
                    navigator.Settle(step.at);
                    break;
                case S::Tick:
                    break;
            }
            navigator.Tick(step.at, events);
            EXPECT_EQ(events, step.expected) << c.name << ", step " << i;
        }
    }
}

TEST(MappingText, TaughtMappingsSurviveTheProfileAndDamagedOnesAreRefused) {
    Mapping taught;
    taught.bindings = {{RawHat(kHatUp), Action::Up},    {RawAxis(1, 1), Action::Down},
                       {RawButton(4), Action::PageUp},  {RawButton(0), Action::Accept},
                       {RawButton(12), Action::Accept}, {RawAxis(0, -1), Action::Previous}};
    taught.combination = {RawButton(7), RawButton(6)};
    const std::string text = MappingText(taught);
    EXPECT_EQ(text, "up=h0.1;down=a1+;pageup=b4;accept=b0,b12;previous=a0-;end=b7,b6");
    EXPECT_EQ(ParseMappingText(text), taught);

    const struct {
        const char* text;
        bool accepted;
    } cases[] = {
        {"", true},  // everything skipped
        {"next=h3.8", true},
        {"end=b1", true},
        {"up=h0.3", false},        // a diagonal is no direction
        {"up=b0;up=b1", false},    // named twice
        {"up=b0;down=b0", false},  // one input, two actions
        {"jump=b0", false},
        {"up=b", false},
        {"up=b-1", false},
        {"up=b1024", false},
        {"up=a1", false},
        {"up=a1*", false},
        {"up=b0;", false},
        {"up=b0,", false},
        {"up", false},
        {"up=x0", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseMappingText(c.text).has_value(), c.accepted) << c.text;
    }
}

TEST(Teacher, EachQuestionTakesOneRawInputOfTheDeviceFirstAnswering) {
    using Reply = Teacher::Reply;
    struct Move {
        enum { Press, Release, Skip, Gone } what;
        Input input;
        Reply reply = Reply::Taken;
        DeviceId device = 1;
    };
    const auto press = [](Input input, Reply reply = Reply::Taken, DeviceId device = 1) {
        return Move{Move::Press, input, reply, device};
    };
    const auto release = [](Input input) { return Move{Move::Release, input}; };
    const auto tap = [&](Input input) { return std::vector<Move>{press(input), release(input)}; };
    const Move skip{Move::Skip, {}};
    const auto join = [](std::initializer_list<std::vector<Move>> parts) {
        std::vector<Move> all;
        for (const auto& part : parts) {
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    };
    const struct {
        const char* name;
        std::vector<Move> moves;
        std::string mapping;
    } cases[] = {
        {"every question answered, and a combination of two held together",
         join({tap(RawHat(kHatUp)),
               tap(RawHat(kHatDown)),
               tap(RawButton(4)),
               tap(RawButton(5)),
               tap(RawButton(0)),
               tap(RawButton(1)),
               tap(RawButton(2)),
               tap(RawAxis(0, -1)),
               tap(RawAxis(0, 1)),
               {press(RawButton(6)), press(RawButton(7)), release(RawButton(7)),
                release(RawButton(6))}}),
         "up=h0.1;down=h0.4;pageup=b4;pagedown=b5;accept=b0;back=b1;configure=b2;previous=a0-;"
         "next=a0+;end=b6,b7"},
        {"Escape skips; a skipped combination is Start game and Back together",
         join({{skip, skip, skip, skip},
               tap(RawButton(3)),
               tap(RawButton(2)),
               {skip, skip, skip, skip}}),
         "accept=b3;back=b2;end=b3,b2"},
        {"a stick pushed askew answers one question, not two",
         join({{press(RawAxis(1, -1)), press(RawAxis(0, 1), Reply::Ignored), release(RawAxis(0, 1)),
                release(RawAxis(1, -1))},
               tap(RawAxis(1, 1)),
               {skip, skip, skip, skip, skip, skip, skip, skip}}),
         "up=a1-;down=a1+"},
        {"an input already taught is refused, and so is another device",
         join({tap(RawButton(0)),
               {press(RawButton(0), Reply::InUse), release(RawButton(0)),
                press(RawButton(9), Reply::OtherDevice, 2),
                press(PadButton(kButtonA), Reply::Ignored)},
               tap(RawButton(1)),
               {skip, skip, skip, skip, skip, skip, skip, skip}}),
         "up=b0;down=b1"},
        {"the device unplugged halfway starts it all again",
         join({tap(RawButton(0)),
               {Move{Move::Gone, {}}},
               tap(RawButton(5)),
               {skip, skip, skip, skip, skip, skip, skip, skip, skip}}),
         "up=b5"},
    };
    for (const auto& c : cases) {
        Teacher teacher;
        for (size_t i = 0; i < c.moves.size(); ++i) {
            const Move& move = c.moves[i];
            switch (move.what) {
                case Move::Press:
                    EXPECT_EQ(teacher.Press(move.device,
                                            std::string("guid") + std::to_string(move.device),
                                            move.input),
                              move.reply)
                        << c.name << ", move " << i;
                    break;
                case Move::Release:
                    teacher.Release(move.device, move.input);
                    break;
                case Move::Skip:
                    teacher.Skip();
                    break;
                case Move::Gone:
                    teacher.DeviceGone(1);
                    break;
            }
        }
        EXPECT_TRUE(teacher.Done()) << c.name;
        EXPECT_EQ(teacher.Guid(), "guid1") << c.name;
        EXPECT_EQ(MappingText(teacher.Result()), c.mapping) << c.name;
    }
}

TEST(GameEnder, PolitelyAtOnceForGoodAfterTheGraceWhenStillRunning) {
    struct Game : RunningGame {
        int now = 0;
        bool running = true;
        bool endsWhenAsked = false;
        std::vector<std::string> calls;
        bool IsRunning() override { return running; }
        void EndPolitely() override {
            calls.push_back(std::string("politely at ") + std::to_string(now));
            running = !endsWhenAsked;
        }
        void EndForGood() override {
            calls.push_back(std::string("for good at ") + std::to_string(now));
            running = false;
        }
    };
    const struct {
        const char* name;
        bool endsWhenAsked;
        std::vector<std::pair<int, bool>> timeline;  // {ms, combination} then a tick
        std::vector<std::string> calls;
    } cases[] = {
        {"a game that ends when asked is never killed",
         true,
         {{0, true}, {0, true}, {3000, false}, {9000, false}},
         {"politely at 0"}},
        {"one that does not is ended for good 3 s later, once",
         false,
         {{0, true}, {1000, true}, {2999, false}, {3000, false}, {3001, false}},
         {"politely at 0", "for good at 3000"}},
        {"without the combination nothing happens", false, {{0, false}, {10000, false}}, {}},
    };
    for (const auto& c : cases) {
        Game game;
        game.endsWhenAsked = c.endsWhenAsked;
        GameEnder ender(game);
        for (const auto& [at, combination] : c.timeline) {
            game.now = at;
            if (combination) {
                ender.End(milliseconds(at));
            }
            ender.Tick(milliseconds(at));
        }
        EXPECT_EQ(game.calls, c.calls) << c.name;
    }
}

}  // namespace
}  // namespace velmora::pad
