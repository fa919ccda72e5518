// ControlPointer tokens: a table from token to live control, per process.
#include "platform/afx/ControlPointer.h"

#include "platform/afx/OleControl.h"

#include <mutex>
#include <unordered_map>

namespace {

struct TokenTable {
    std::mutex lock;
    std::unordered_map<LONG, const COleControl*> byToken;
    std::unordered_map<const COleControl*, LONG> byControl;
    // Tokens are never handed out twice, so a stale token never reaches a
    // newer object. Zero stays unused: it reads as "no control".
    LONG next{0x1000};
};

TokenTable& Table() {
    static TokenTable table;
    return table;
}

} // namespace

LONG AfxControlPointerOf(const COleControl* control) {
    if (!control)
        return 0;
    TokenTable& t = Table();
    std::lock_guard guard(t.lock);
    if (const auto it = t.byControl.find(control); it != t.byControl.end())
        return it->second;
    if (t.next == 0x7FFFFFFF)
        return 0; // every token of the process is spent
    const LONG token = t.next++;
    t.byControl.emplace(control, token);
    t.byToken.emplace(token, control);
    return token;
}

COleControl* AfxControlFromPointer(LONG token) {
    TokenTable& t = Table();
    std::lock_guard guard(t.lock);
    const auto it = t.byToken.find(token);
    return it != t.byToken.end() ? const_cast<COleControl*>(it->second) : nullptr;
}

void AfxReleaseControlPointer(const COleControl* control) {
    TokenTable& t = Table();
    std::lock_guard guard(t.lock);
    const auto it = t.byControl.find(control);
    if (it == t.byControl.end())
        return;
    t.byToken.erase(it->second);
    t.byControl.erase(it);
}

namespace {

HRESULT ControlPointerGet(void* object, const DispEntry&, VARIANT* result) {
    VariantClear(result);
    result->vt = VT_I4;
    result->lVal = AfxControlPointerOf(static_cast<const COleControl*>(object));
    return S_OK;
}

HRESULT ControlPointerPut(void*, const DispEntry&, const VARIANT&) {
    COleControl::SetNotSupported();
}

} // namespace

DispEntry DispControlPointer(const char* name, DISPID dispid, const char* typeLibName) {
    return DispEntry{
        name,    dispid,  DispKind::Property, VT_I4, {}, &ControlPointerGet, &ControlPointerPut,
        nullptr, nullptr, typeLibName};
}
