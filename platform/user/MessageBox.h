#pragma once
// Message boxes, beeps and modal loops, all through a handler that the host
// installs (a real modal window with a display). Without one, the thread's
// recording handler is used: it keeps every box and beep in a log that tests
// read, and answers a box as the user's default button would.
#include "platform/user/UserTypes.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_CANCELTRYCONTINUE = 0x00000006;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONERROR = MB_ICONHAND;
constexpr UINT MB_ICONSTOP = MB_ICONHAND;
constexpr UINT MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr UINT MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFBUTTON4 = 0x00000300;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_SYSTEMMODAL = 0x00001000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_SETFOREGROUND = 0x00010000;
constexpr UINT MB_TOPMOST = 0x00040000;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFMASK = 0x00000F00;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDCLOSE = 8;
constexpr int IDHELP = 9;
constexpr int IDTRYAGAIN = 10;
constexpr int IDCONTINUE = 11;

// A NULL caption shows as "Error", a NULL text as an empty one. Returns the
// button chosen (IDOK, IDYES, ...), 0 on failure.
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
// 0xFFFFFFFF is the simple beep; otherwise an MB_ICON value.
BOOL MessageBeep(UINT type);

namespace kw::user {

struct ModalUiHandler {
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT type)>
        messageBox;
    std::function<void(UINT type)> messageBeep;
    // Runs the modal loop of a window until EndModalLoop; returns its result.
    std::function<int(HWND hwnd)> modalLoop;
};

// Installs a handler for this thread and returns the previous one. Missing
// callbacks fall back to the recording handler's.
ModalUiHandler SetModalUiHandler(ModalUiHandler handler);

// The answer of the default button of a message box type.
int DefaultMessageBoxAnswer(UINT type);

struct RecordedMessageBox {
    HWND owner{nullptr};
    std::string text;
    std::string caption;
    UINT type{0};
    int answer{0};
};

// What the recording handler saw on this thread.
struct ModalUiLog {
    std::vector<RecordedMessageBox> messageBoxes;
    std::vector<UINT> beeps;
    std::vector<HWND> modalLoops;
    // Answers for the next message boxes, used before the default button.
    std::deque<int> scriptedAnswers;
    // Called inside a recorded modal loop, after the pending messages ran;
    // it may drive the dialog and call EndModalLoop. A loop still running
    // afterwards ends with IDCANCEL, as if the user closed the window.
    std::function<void(HWND hwnd)> onModalLoop;
};
ModalUiLog& RecordingModalUiLog();

// Runs the modal loop of `hwnd` through the handler. The loop ends with
// EndModalLoop, when the window is destroyed (result IDCANCEL), or at WM_QUIT
// (which stays pending for the outer loop; result IDCANCEL).
int RunModalLoop(HWND hwnd);
void EndModalLoop(HWND hwnd, int result);
// For handlers: whether EndModalLoop was called for the window's innermost
// loop, and with what result.
bool IsModalLoopEnded(HWND hwnd, int* result = nullptr);
// The loop a handler with a display runs: GetMessage and PumpMessage until the
// loop is ended or the window destroyed; WM_QUIT ends it and is posted again.
int RunMessageLoopUntilEnded(HWND hwnd);

} // namespace kw::user
