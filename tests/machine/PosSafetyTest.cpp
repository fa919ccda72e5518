// Every way the jog pad can lose the operator's hand ends a running jog with
// exactly one StopPos: the focus or the mouse capture going elsewhere, the
// pad disabled, hidden, deactivated or released, a host that does any of it
// from inside its StartPos handler, a key let go with Alt held. Then
// thousands of random operator sequences, each of which must leave the pad
// idle with StopPos as the last jog event the host saw.
#include "PosTestSupport.h"

#include "platform/user/VirtualKeys.h"

#include <algorithm>
#include <random>

using namespace pos_test;

namespace {

constexpr int kXMinus = 4, kYPlus = 8, kZPlus = 9;

// The jog events only, StartPos and StopPos.
std::vector<Fired> Jogs(const std::vector<Fired>& all) {
    std::vector<Fired> jogs;
    for (const Fired& e : all)
        if (e.id != kPosRel)
            jogs.push_back(e);
    return jogs;
}

} // namespace

// [SECTION] Focus

TEST_F(PosTest, LosingTheFocusDuringACtrlJogStopsItOnce) {
    Focus();
    session.KeyDown(VK_CONTROL);
    session.KeyDown(VK_LEFT);
    ASSERT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x411}}));
    ::SetFocus(m_other);
    session.Pump();
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x411}, {kStopPos, -1}}));
    EXPECT_EQ(Colour(kXMinus), kPosBlack);
    EXPECT_FALSE(Pad()->IsPressActive());
    // The key-ups go to the other window; coming back changes nothing.
    session.KeyUp(VK_LEFT);
    session.KeyUp(VK_CONTROL);
    Focus();
    EXPECT_EQ(events.fired.size(), 2u);
}

TEST_F(PosTest, LosingTheFocusToAModalBoxDuringAMousePressStopsIt) {
    Press(kYPlus);
    ::SetFocus(m_other);
    session.Pump();
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x402}, {kStopPos, -1}}));
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1) << "the button-up owes no second StopPos";
}

// [SECTION] Capture

TEST_F(PosTest, AnotherWindowTakingTheCaptureStopsAMousePressOnce) {
    Press(kZPlus, MouseButton::Right);
    ASSERT_EQ(::GetCapture(), Window());
    ::SetCapture(m_other);
    session.Pump();
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x804}, {kStopPos, -1}}));
    EXPECT_EQ(Colour(kZPlus), kPosBlack);
    ::ReleaseCapture();
    // The button comes up over the pad: its StopPos was sent already.
    MoveTo(kZPlus);
    session.MouseUp(MouseButton::Right);
    EXPECT_EQ(events.Count(kStopPos), 1);
    // The next click is whole again.
    Click(kZPlus);
    EXPECT_EQ(Jogs(events.fired).back(), (Fired{kStopPos, -1}));
    EXPECT_EQ(events.Count(kStopPos), 2);
}

TEST_F(PosTest, ARightPressTakesTheCaptureSoItsButtonUpComesBackFromOutside) {
    const POINT pt = PointOf(kXMinus);
    session.MouseMove(Window(), pt.x, pt.y);
    ::ReleaseCapture(); // as if the pointer came in without a move
    session.MouseDown(MouseButton::Right);
    EXPECT_EQ(::GetCapture(), Window());
    session.MouseMove(250, 150);
    session.MouseUp(MouseButton::Right);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x811}, {kStopPos, -1}}));
}

// [SECTION] Enable, visibility, mode

TEST_F(PosTest, DisablingDuringAPressStopsItAndGreysTheButton) {
    Press(kYPlus);
    SetEnabled(false);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x402}, {kStopPos, -1}}));
    EXPECT_EQ(Colour(kYPlus), kPosGrey);
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);

    SetEnabled(true);
    Focus();
    session.KeyDown(VK_CONTROL);
    session.KeyDown(VK_UP);
    SetEnabled(false);
    EXPECT_EQ(events.Count(kStopPos), 2);
    session.KeyUp(VK_UP);
    session.KeyUp(VK_CONTROL);
    EXPECT_EQ(events.Count(kStopPos), 2);
    EXPECT_EQ(Colour(kYPlus), kPosGrey);
}

TEST_F(PosTest, DisablingClearsTheHoverAndAKeyedButtonSoEverythingTurnsGrey) {
    MoveTo(kYPlus);
    Focus();
    session.KeyDown(VK_LEFT);
    ASSERT_EQ(Colour(kXMinus), kPosRed);
    ASSERT_EQ(Colour(kYPlus), kPosWhite);
    SetEnabled(false);
    EXPECT_EQ(Colour(kXMinus), kPosGrey);
    EXPECT_EQ(Colour(kYPlus), kPosGrey);
    EXPECT_FALSE(Pad()->ReleaseTimerRunning());
    session.KeyUp(VK_LEFT);
}

TEST_F(PosTest, HidingDuringAPressStopsIt) {
    Press(kXMinus);
    ::ShowWindow(Window(), SW_HIDE);
    session.Pump();
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x411}, {kStopPos, -1}}));
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);
}

TEST_F(PosTest, ChangingTheModeDuringAPressStopsItFirst) {
    Press(kXMinus);
    Put("Mode", 1);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x411}, {kStopPos, -1}}));
    EXPECT_FALSE(Pad()->IsPressActive());
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);
}

// [SECTION] Keys during a press

TEST_F(PosTest, AKeyUpDuringAMousePressStopsItOnceForBoth) {
    Press(kYPlus);
    Focus();
    session.Key('Q');
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x402}, {kStopPos, -1}}));
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);
}

TEST_F(PosTest, AJogKeyLetGoWhileAltIsHeldStillStopsTheJog) {
    Focus();
    session.KeyDown(VK_CONTROL);
    session.KeyDown(VK_LEFT);
    session.KeyDown(VK_MENU);
    events.fired.clear();
    session.KeyUp(VK_LEFT); // arrives as a system key
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStopPos, -1}}));
    session.KeyUp(VK_MENU);
    session.KeyUp(VK_CONTROL);
    EXPECT_EQ(events.Count(kStopPos), 1);
}

TEST_F(PosTest, AModifierPressedAfterTheKeyWasLetGoStartsNoStep) {
    Focus();
    session.Key(VK_LEFT);
    ASSERT_TRUE(Pad()->ReleaseTimerRunning());
    session.KeyDown(VK_SHIFT);
    session.KeyUp(VK_SHIFT);
    session.KeyDown(VK_CONTROL);
    session.KeyUp(VK_CONTROL);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kPosRel, 0x11}}));
}

// [SECTION] Deactivation and release, also from inside StartPos

TEST_F(PosTest, DeactivatingTheHostsPadDuringAPressStopsIt) {
    Press(kYPlus);
    ComPtr<IOleObject> ole;
    ASSERT_EQ(m_disp.As(IID_IOleObject, &ole), S_OK);
    ole->Close(0);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x402}, {kStopPos, -1}}));
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);
}

TEST_F(PosTest, AHostThatClosesThePadFromInsideStartPosHearsTheStop) {
    events.actions[kStartPos] = [&] {
        ComPtr<IOleObject> ole;
        ASSERT_EQ(m_disp.As(IID_IOleObject, &ole), S_OK);
        ole->Close(0);
    };
    Press(kZPlus);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x404}, {kStopPos, -1}}));
    EXPECT_EQ(Window(), nullptr);
    EXPECT_FALSE(Pad()->IsPressActive());
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);
}

TEST_F(PosTest, AHostThatLetsGoOfThePadFromInsideStartPosHearsTheStop) {
    // The host's last reference goes inside the handler; the pad lives on
    // to the end of the message and says StopPos as it goes.
    events.actions[kStartPos] = [&] { m_disp.Reset(); };
    Press(kXMinus);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x411}, {kStopPos, -1}}));
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);
}

TEST_F(PosTest, AHostThatClosesAndLetsGoInsideACtrlJogsStartPosHearsTheStop) {
    events.actions[kStartPos] = [&] {
        ComPtr<IOleObject> ole;
        if (SUCCEEDED(m_disp.As(IID_IOleObject, &ole)))
            ole->Close(0);
        m_disp.Reset();
    };
    ::SetFocus(Window());
    session.Pump();
    session.KeyDown(VK_CONTROL);
    session.KeyDown(VK_DOWN);
    session.KeyUp(VK_DOWN);
    session.KeyUp(VK_CONTROL);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x422}, {kStopPos, -1}}));
}

TEST_F(PosTest, AHostThatDisablesThePadFromInsideStartPosLeavesNoPressBehind) {
    events.actions[kStartPos] = [&] { SetEnabled(false); };
    Press(kYPlus);
    EXPECT_EQ(events.fired, (std::vector<Fired>{{kStartPos, 0x402}, {kStopPos, -1}}));
    EXPECT_FALSE(Pad()->IsPressActive());
    EXPECT_EQ(Colour(kYPlus), kPosGrey) << "not painted green after the stop";
    session.MouseUp();
    EXPECT_EQ(events.Count(kStopPos), 1);
}

// [SECTION] Random operator sequences

TEST_F(PosTest, RandomSequencesAlwaysEndIdleWithAStop) {
    std::mt19937 random(20261206);
    const BYTE keys[] = {VK_LEFT,  VK_RIGHT, VK_UP,    VK_DOWN, VK_HOME, VK_NEXT,    VK_CONTROL,
                         VK_SHIFT, VK_MENU,  VK_SPACE, 'Z',     'A',     VK_CONTROL, VK_LEFT};
    constexpr int kSequences = 2000;
    int startsSeen = 0;
    for (int sequence = 0; sequence < kSequences; ++sequence) {
        events.fired.clear();
        events.actions.clear();
        if (!m_disp || random() % 8 == 0)
            Create(SHORT(random() % 8));
        if (Window() && random() % 2 == 0)
            Focus();
        bool left = false, right = false;
        std::vector<BYTE> held;
        std::string log;
        const int steps = 5 + int(random() % 20);
        for (int step = 0; step < steps; ++step) {
            const int what = int(random() % 16);
            log += std::to_string(what) + " ";
            switch (what) {
            case 0:
            case 1:
            case 2:
                if (m_disp) {
                    const int index = int(random() % std::max(1, Pad()->RectCount()));
                    MoveTo(index);
                }
                break;
            case 3:
                session.MouseMove(int(random() % 300), int(random() % 200));
                break;
            case 4:
            case 5: {
                // Mostly aimed at a button or lamp, sometimes wherever the
                // pointer is.
                const bool isLeft = what == 4;
                bool& down = isLeft ? left : right;
                const MouseButton button = isLeft ? MouseButton::Left : MouseButton::Right;
                if (!down) {
                    if (Window() && random() % 4 != 0)
                        MoveTo(int(random() % std::max(1, Pad()->RectCount())));
                    session.MouseDown(button);
                } else {
                    session.MouseUp(button);
                }
                down = !down;
                break;
            }
            case 6:
            case 7:
            case 8: {
                const BYTE vk = keys[random() % std::size(keys)];
                if (std::find(held.begin(), held.end(), vk) == held.end()) {
                    session.KeyDown(vk);
                    held.push_back(vk);
                } else {
                    session.KeyUp(vk);
                    held.erase(std::find(held.begin(), held.end(), vk));
                }
                break;
            }
            case 9:
                if (m_disp)
                    Focus();
                break;
            case 10:
                ::SetFocus(m_other);
                break;
            case 11:
                ::SetCapture(random() % 2 ? m_other : nullptr);
                if (!::GetCapture())
                    ::ReleaseCapture();
                break;
            case 12:
                if (m_disp)
                    SetEnabled(random() % 3 != 0);
                break;
            case 13:
                if (Window())
                    ::ShowWindow(Window(), random() % 2 ? SW_HIDE : SW_SHOW);
                break;
            case 14:
                if (random() % 4 == 0)
                    events.actions[kStartPos] = [&] {
                        // A host that removes the pad as a jog starts.
                        ComPtr<IOleObject> ole;
                        if (m_disp && SUCCEEDED(m_disp.As(IID_IOleObject, &ole)))
                            ole->Close(0);
                        m_disp.Reset();
                    };
                else
                    session.Advance(DWORD(random() % 700));
                break;
            default:
                if (m_disp && random() % 3 == 0)
                    Put("Mode", SHORT(random() % 8));
                else
                    Close();
                break;
            }
            session.Pump();
        }
        // The operator's hands come off the pad.
        if (left)
            session.MouseUp(MouseButton::Left);
        if (right)
            session.MouseUp(MouseButton::Right);
        for (auto it = held.rbegin(); it != held.rend(); ++it)
            session.KeyUp(*it);
        session.Pump();
        events.actions.clear();

        const std::vector<Fired> jogs = Jogs(events.fired);
        bool started = false;
        for (const Fired& e : jogs)
            started = started || e.id == kStartPos;
        startsSeen += started;
        if (m_disp) {
            EXPECT_FALSE(Pad()->IsPressActive()) << "sequence " << sequence << ": " << log;
        }
        if (started) {
            EXPECT_EQ(jogs.back().id, kStopPos)
                << "sequence " << sequence << ": " << log << "\n  " << Describe(events.fired);
        }
        if (HasFailure())
            break;
        if (m_disp && random() % 4 == 0)
            SetEnabled(true);
        if (Window() && !::IsWindowVisible(Window()))
            ::ShowWindow(Window(), SW_SHOW);
    }
    EXPECT_GT(startsSeen, kSequences / 10) << "the sequences jog often enough to mean something";
}
