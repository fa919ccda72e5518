#pragma once
// The container: a headless form (a top-level window on the virtual clock)
// holding the controls a script inserts, and the Lua state that drives them.
// One per run; the script's functions reach it through the Lua registry.
#include "hosts/container/ControlSite.h"
#include "hosts/container/LuaSupport.h"
#include "platform/backends/headless/HeadlessSession.h"

#include <nlohmann/json.hpp>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kw::container {

// "DISP_E_UNKNOWNNAME (0x80020006)", or the hexadecimal code alone.
std::string HResultText(HRESULT hr);

struct InsertOptions {
    std::string name;         // empty: a name made from the class
    std::optional<RECT> rect; // none: the control's initial size at 10, 10
    int x = 10, y = 10;       // used with the initial size
    std::optional<int> w, h;  // either may be given alone
};

class CContainer {
public:
    explicit CContainer(lua_State* L);
    ~CContainer();
    CContainer(const CContainer&) = delete;
    CContainer& operator=(const CContainer&) = delete;

    static CContainer& From(lua_State* L);

    // Creates a control and places it. Without `properties` it is
    // initialised as newly inserted, otherwise loaded from them. A failure
    // throws ScriptError naming the class and the HRESULT.
    CControlSite& Insert(const std::string& classText, const InsertOptions& options,
                         const nlohmann::json* properties, const char* function);
    // Takes one control out of the form: deactivates it while its events
    // still reach the script (a control ending what it was doing says so),
    // then disconnects and releases it and forgets its handlers. May run
    // from inside a handler of that control's own event; the site stays
    // (closed, its name still taken) so that nothing on the way back out
    // finds it gone.
    void Remove(CControlSite& site);
    // Closes every control and forgets the script's handlers. The Lua state
    // must still be open.
    void CloseAll();

    const std::vector<std::unique_ptr<CControlSite>>& Sites() const { return m_sites; }
    CControlSite* FindSite(int id) const;

    // Runs every pending message, paints included, as a message loop does
    // between two user actions; then reports an error a script's event
    // handler raised meanwhile.
    void Settle();
    // Reports (throws) an error an event handler raised, once.
    void ThrowPendingError();
    void SetPendingError(std::string message);

    kw::headless::HeadlessSession& Session() { return m_session; }
    HWND Form() const { return m_form; }
    lua_State* Lua() const { return m_lua; }

    // Hears every line of the event log (the designer's event pane).
    void SetEventObserver(std::function<void(const std::string&)> observer) {
        m_eventObserver = std::move(observer);
    }
    void ObserveEvent(const std::string& line) const {
        if (m_eventObserver)
            m_eventObserver(line);
    }

    // The answer the next message boxes get; 0 for the default button.
    void SetMessageBoxAnswer(int answer) { m_messageBoxAnswer = answer; }

private:
    std::string UniqueName(const std::string& progId) const;

    lua_State* m_lua;
    kw::headless::HeadlessSession m_session;
    kw::user::ModalUiHandler m_previousModal;
    HWND m_form{nullptr};
    std::vector<std::unique_ptr<CControlSite>> m_sites;
    int m_nextId{1};
    std::optional<std::string> m_pendingError;
    int m_messageBoxAnswer{0};
    std::function<void(const std::string&)> m_eventObserver;
};

} // namespace kw::container
