// The pads through SDL, with its virtual joysticks: devices found as they come and go, a game
// controller through SDL's mapping, a raw stick through the mapping taught for its GUID.

#include <gtest/gtest.h>
#include <signal.h>

#include <map>
#include <string>
#include <vector>

#include "PadSession.h"

#ifndef VELMORA_HAVE_SDL
TEST(PadSessionTest, NeedsSdl) {
    GTEST_SKIP() << "Velmora is built without SDL (VELMORA_GAMEPAD=OFF)";
}
#else
#include "VirtualPad.h"

namespace velmora::pad {
namespace {

using std::chrono::milliseconds;
using test::VirtualPad;

class MemoryStore : public MappingStore {
public:
    std::optional<std::string> Load(const std::string& guid) override {
        const auto found = texts.find(guid);
        return found == texts.end() ? std::nullopt : std::optional<std::string>(found->second);
    }
    bool Save(const std::string& guid, const std::string& text) override {
        texts[guid] = text;
        return true;
    }
    std::map<std::string, std::string> texts;
};

// What a read gave, in words: "added", "removed", "Accept", "Down again", "end", "raw b3".
std::vector<std::string> Words(const std::vector<PadEvent>& events, bool withRaw = false) {
    static const char* const kNames[] = {"Up",   "Down",      "PageUp",   "PageDown", "Accept",
                                         "Back", "Configure", "Previous", "Next"};
    std::vector<std::string> words;
    for (const PadEvent& event : events) {
        switch (event.kind) {
            case PadEvent::Kind::DeviceAdded:
                words.push_back("added");
                break;
            case PadEvent::Kind::DeviceRemoved:
                words.push_back("removed");
                break;
            case PadEvent::Kind::Action:
                words.push_back(std::string(kNames[static_cast<int>(event.action)]) +
                                (event.repeat ? " again" : ""));
                break;
            case PadEvent::Kind::Combination:
                words.push_back("end");
                break;
            case PadEvent::Kind::RawDown:
                if (withRaw) {
                    words.push_back(std::string("raw ") + DescribeInput(event.input));
                }
                break;
            case PadEvent::Kind::RawUp:
                break;
        }
    }
    return words;
}

using Words_ = std::vector<std::string>;

class PadSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_session.Available()) << m_session.Error();
#ifndef _WIN32
        // SDL would make SIGTERM an event of its own: Velmora would no longer end on it.
        struct sigaction action {};
        sigaction(SIGTERM, nullptr, &action);
        EXPECT_EQ(action.sa_handler, SIG_DFL);
#endif
    }
    std::vector<PadEvent> Read(int at) {
        return m_session.Poll(milliseconds(at));
    }

    MemoryStore m_store;
    PadSession m_session{m_store, Timing{milliseconds(500), milliseconds(50), milliseconds(2000)}};
};

TEST_F(PadSessionTest, AControllerPluggedInLaterWorksThroughSdlsMapping) {
    EXPECT_EQ(Words(Read(0)), Words_{}) << "no device, no display: nothing, and no failure";
    auto pad = std::make_unique<VirtualPad>(VirtualPad::Controller());
    EXPECT_EQ(Words(Read(0)), Words_{"added"});
    const DeviceInfo* info = m_session.Find(pad->Id());
    ASSERT_NE(info, nullptr);
    EXPECT_TRUE(info->controller);
    EXPECT_EQ(info->guid, pad->Guid());

    const struct {
        std::function<void()> act;
        int at;
        Words_ expected;
    } steps[] = {
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_A, true); }, 10, {"Accept"}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_A, false); }, 20, {}},
        {[&] { pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, 20000); }, 30, {"Down"}},
        {[&] { pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, 10000); }, 529, {}},  // not let go yet
        {[] {}, 530, {"Down again"}},
        {[&] { pad->Axis(SDL_CONTROLLER_AXIS_LEFTY, 0); }, 600, {}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, true); }, 700, {"PageDown"}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER, false); }, 710, {}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_X, true); }, 720, {"Configure"}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true); }, 730, {"Next"}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, false); }, 735, {}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_BACK, true); }, 740, {}},
        {[&] { pad->Button(SDL_CONTROLLER_BUTTON_START, true); }, 1000, {"Accept"}},
        {[] {}, 2999, {}},
        {[] {}, 3000, {"end"}},
        // Unplugged while buttons are down: it is gone, and nothing of it goes on repeating.
        {[&] { pad.reset(); }, 3100, {"removed"}},
        {[] {}, 9000, {}},
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        steps[i].act();
        EXPECT_EQ(Words(Read(steps[i].at)), steps[i].expected) << "step " << i;
    }
}

TEST_F(PadSessionTest, ARawStickDoesNothingUntilTaughtThenWhatItWasTaught) {
    VirtualPad stick(VirtualPad::Stick());
    EXPECT_EQ(Words(Read(0)), Words_{"added"});
    ASSERT_NE(m_session.Find(stick.Id()), nullptr);
    EXPECT_FALSE(m_session.Find(stick.Id())->controller);

    stick.Hat(0, SDL_HAT_DOWN);
    EXPECT_EQ(Words(Read(10), true), Words_{"raw hat 0 down"})
        << "raw presses for teaching, no actions";
    stick.Button(3, true);
    EXPECT_EQ(Words(Read(10), true), Words_{"raw button 3"});
    stick.Hat(0, SDL_HAT_CENTERED);
    stick.Button(3, false);
    Read(20);

    ASSERT_TRUE(m_store.Save(stick.Guid(), "down=h0.4;accept=b3;end=b3,b7"));
    m_session.Reload(stick.Guid());
    stick.Hat(0, SDL_HAT_DOWN);
    EXPECT_EQ(Words(Read(30)), Words_{"Down"});
    stick.Button(3, true);
    stick.Button(7, true);
    EXPECT_EQ(Words(Read(40)), Words_{"Accept"});
    stick.Hat(0, SDL_HAT_CENTERED);
    EXPECT_EQ(Words(Read(2039)), Words_{});
    EXPECT_EQ(Words(Read(2040)), Words_{"end"});

    // A damaged text counts as none: the stick is untaught again, not half taught.
    m_store.texts[stick.Guid()] = "down=h0.4;accept=";
    m_session.Reload(stick.Guid());
    stick.Hat(0, SDL_HAT_DOWN);
    EXPECT_EQ(Words(Read(3000)), Words_{});
}

}  // namespace
}  // namespace velmora::pad
#endif
