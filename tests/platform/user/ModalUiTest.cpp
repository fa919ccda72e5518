// Message boxes, beeps and modal loops through the handler.
#include "tests/platform/user/UserTestFixture.h"

using namespace kw::test;

TEST_F(UserTest, MessageBoxesAndBeepsAreRecordedAndAnsweredWithTheDefaultButton) {
    const HWND top = rec.CreateTop(0, 0, 10, 10);
    EXPECT_EQ(MessageBoxA(top, "Fehler bei Eingabe", "Caption", MB_ICONHAND), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "", "", MB_OKCANCEL), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "", "", MB_YESNOCANCEL | MB_DEFBUTTON3), IDCANCEL);
    session.Modal().scriptedAnswers.push_back(IDRETRY);
    EXPECT_EQ(MessageBoxA(nullptr, "", "", MB_RETRYCANCEL | MB_DEFBUTTON2), IDRETRY);
    MessageBeep(0);
    MessageBeep(MB_ICONHAND);
    const auto& boxes = session.Modal().messageBoxes;
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].owner, top);
    EXPECT_EQ(boxes[0].text, "Fehler bei Eingabe");
    EXPECT_EQ(boxes[0].caption, "Caption");
    EXPECT_EQ(boxes[0].type, MB_ICONHAND);
    EXPECT_EQ(boxes[1].caption, "Error");
    EXPECT_EQ(boxes[1].text, "");
    EXPECT_EQ(session.Modal().beeps, (std::vector<UINT>{0, MB_ICONHAND}));
}

TEST_F(UserTest, AnInstalledHandlerReplacesTheRecorder) {
    int calls = 0;
    kw::user::ModalUiHandler handler;
    handler.messageBox = [&](HWND, const std::string& text, const std::string&, UINT) {
        ++calls;
        return text == "yes" ? IDYES : IDNO;
    };
    kw::user::SetModalUiHandler(handler);
    EXPECT_EQ(MessageBoxA(nullptr, "yes", "c", MB_YESNO), IDYES);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(session.Modal().messageBoxes.empty());
    MessageBeep(0); // No beep callback: the recorder takes it.
    EXPECT_EQ(session.Modal().beeps.size(), 1u);
}

TEST_F(UserTest, ModalLoopRunsPendingMessagesAndEndsAsScriptedOrCancelled) {
    const HWND dialog = rec.CreateTop(0, 0, 10, 10);
    PostMessageA(dialog, WM_USER, 0, 0);
    EXPECT_EQ(kw::user::RunModalLoop(dialog), IDCANCEL);
    EXPECT_EQ(rec.Count(dialog, WM_USER), 1);
    session.Modal().onModalLoop = [](HWND hwnd) { kw::user::EndModalLoop(hwnd, IDOK); };
    EXPECT_EQ(kw::user::RunModalLoop(dialog), IDOK);
    session.Modal().onModalLoop = [](HWND hwnd) { DestroyWindow(hwnd); };
    EXPECT_EQ(kw::user::RunModalLoop(dialog), IDCANCEL);
    EXPECT_EQ(session.Modal().modalLoops.size(), 3u);
    EXPECT_EQ(kw::user::RunModalLoop(dialog), -1) << "no window";
}
