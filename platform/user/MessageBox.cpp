// Message boxes, beeps and modal loops through the host's handler, and the
// recording handler used when the host installed none.
#include "platform/user/MessageBox.h"

#include "platform/user/MessageQueue.h"
#include "platform/user/Window.h"
#include "platform/user/WindowManager.h"

#include <algorithm>

using namespace kw::user::detail;

namespace kw::user {

namespace {

int RecordMessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) {
    ModalUiLog& log = Manager().modalLog;
    int answer = DefaultMessageBoxAnswer(type);
    if (!log.scriptedAnswers.empty()) {
        answer = log.scriptedAnswers.front();
        log.scriptedAnswers.pop_front();
    }
    log.messageBoxes.push_back(RecordedMessageBox{owner, text, caption, type, answer});
    return answer;
}

void RecordBeep(UINT type) {
    Manager().modalLog.beeps.push_back(type);
}

ModalState* InnermostLoop(HWND hwnd) {
    auto& loops = Manager().modalLoops;
    for (auto it = loops.rbegin(); it != loops.rend(); ++it)
        if (it->hwnd == hwnd)
            return &*it;
    return nullptr;
}

// Without a display: runs what is pending, lets the test drive the dialog,
// and ends a loop still running as a user closing the window would.
int RecordModalLoop(HWND hwnd) {
    Manager().modalLog.modalLoops.push_back(hwnd);
    RunPendingMessages();
    // A copy: the callback may install another one.
    if (auto callback = Manager().modalLog.onModalLoop; callback && !IsModalLoopEnded(hwnd)) {
        callback(hwnd);
        RunPendingMessages();
    }
    int result = IDCANCEL;
    if (!IsModalLoopEnded(hwnd, &result))
        EndModalLoop(hwnd, IDCANCEL);
    return result;
}

} // namespace

int RunMessageLoopUntilEnded(HWND hwnd) {
    MSG msg;
    while (!IsModalLoopEnded(hwnd) && IsWindow(hwnd)) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(int(msg.wParam));
            break;
        }
        if (got < 0)
            break;
        PumpMessage(&msg);
    }
    int result = IDCANCEL;
    IsModalLoopEnded(hwnd, &result);
    return result;
}

int DefaultMessageBoxAnswer(UINT type) {
    static constexpr int kButtons[][3] = {
        {IDOK, IDOK, IDOK},                 // MB_OK
        {IDOK, IDCANCEL, IDCANCEL},         // MB_OKCANCEL
        {IDABORT, IDRETRY, IDIGNORE},       // MB_ABORTRETRYIGNORE
        {IDYES, IDNO, IDCANCEL},            // MB_YESNOCANCEL
        {IDYES, IDNO, IDNO},                // MB_YESNO
        {IDRETRY, IDCANCEL, IDCANCEL},      // MB_RETRYCANCEL
        {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, // MB_CANCELTRYCONTINUE
    };
    const UINT buttons = type & MB_TYPEMASK;
    if (buttons >= std::size(kButtons))
        return IDOK;
    const UINT defButton = std::min<UINT>((type & MB_DEFMASK) >> 8, 2);
    return kButtons[buttons][defButton];
}

ModalUiHandler SetModalUiHandler(ModalUiHandler handler) {
    ModalUiHandler previous = std::move(Manager().modalHandler);
    Manager().modalHandler = std::move(handler);
    return previous;
}

ModalUiLog& RecordingModalUiLog() {
    return Manager().modalLog;
}

int RunModalLoop(HWND hwnd) {
    WindowManager& m = Manager();
    if (!IsWindow(hwnd))
        return -1;
    m.modalLoops.push_back(ModalState{hwnd, false, 0});
    const auto handler = m.modalHandler.modalLoop;
    const int result = handler ? handler(hwnd) : RecordModalLoop(hwnd);
    // Drop this loop's state (the innermost one of the window).
    auto& loops = Manager().modalLoops;
    for (auto it = loops.rbegin(); it != loops.rend(); ++it) {
        if (it->hwnd == hwnd) {
            loops.erase(std::next(it).base());
            break;
        }
    }
    return result;
}

void EndModalLoop(HWND hwnd, int result) {
    if (ModalState* loop = InnermostLoop(hwnd); loop && !loop->ended) {
        loop->ended = true;
        loop->result = result;
    }
}

bool IsModalLoopEnded(HWND hwnd, int* result) {
    ModalState* loop = InnermostLoop(hwnd);
    if (!loop)
        return true;
    if (loop->ended && result)
        *result = loop->result;
    return loop->ended;
}

} // namespace kw::user

using namespace kw::user;

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const std::string textString = text ? text : "";
    const std::string captionString = caption ? caption : "Error";
    const auto handler = Manager().modalHandler.messageBox;
    return handler ? handler(owner, textString, captionString, type)
                   : RecordMessageBox(owner, textString, captionString, type);
}

BOOL MessageBeep(UINT type) {
    const auto handler = Manager().modalHandler.messageBeep;
    if (handler)
        handler(type);
    else
        RecordBeep(type);
    return TRUE;
}
