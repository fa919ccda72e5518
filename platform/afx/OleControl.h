#pragma once
// COleControl: the base of every control. A control is a window object
// (CWnd) and a component object at once: hosts reach it through IDispatch
// over its dispatch table, connect to its events, persist it through
// IPersistPropertyBag, embed it with IOleObject/IOleInPlaceObject and draw it
// with IViewObject.
//
// A control class derives from COleControl as its first base, hands the
// constructor its class description (COleControlClass) and, in its own
// constructor, calls InitializeIIDs and SetInitialSize. It draws in OnDraw,
// persists in DoPropExchange (calling COleControl::DoPropExchange for the
// extent and the stock properties), and lists its stock properties in its
// dispatch table with the row builders below.
//
// Its sections are implemented by concern: OleControl.cpp (life, window,
// drawing), OleControlEmbedding.cpp (the embedding interfaces),
// OleControlStock.cpp (stock properties, events, errors) and
// OleControlPersist.cpp (persistence).
#include "platform/afx/FontHolder.h"
#include "platform/afx/ModuleResources.h"
#include "platform/afx/OleObjectFactory.h"
#include "platform/afx/PropExchange.h"
#include "platform/afx/Wnd.h"
#include "platform/com/DispatchAdapters.h"
#include "platform/com/DispatchObject.h"
#include "platform/com/OleInterfaces.h"

#include <functional>
#include <type_traits>
#include <vector>

// [SECTION] Identifiers

constexpr DISPID DISPID_BACKCOLOR = -501;
constexpr DISPID DISPID_BORDERSTYLE = -504;
constexpr DISPID DISPID_FONT = -512;
constexpr DISPID DISPID_FORECOLOR = -513;
constexpr DISPID DISPID_ENABLED = -514;
constexpr DISPID DISPID_TEXT = -517;
constexpr DISPID DISPID_CAPTION = -518;
constexpr DISPID DISPID_ABOUTBOX = -552;
constexpr DISPID DISPID_CLICK = -600;

// The buttons COleControl::OnClick reports.
constexpr USHORT LEFT_BUTTON = 0x01;
constexpr USHORT RIGHT_BUTTON = 0x02;
constexpr USHORT MIDDLE_BUTTON = 0x04;

// Misc status bits a control class registers with.
constexpr DWORD OLEMISC_RECOMPOSEONRESIZE = 0x1;
constexpr DWORD OLEMISC_CANTLINKINSIDE = 0x10;
constexpr DWORD OLEMISC_INSIDEOUT = 0x80;
constexpr DWORD OLEMISC_ACTIVATEWHENVISIBLE = 0x100;
constexpr DWORD OLEMISC_SETCLIENTSITEFIRST = 0x20000;

// The version a control stores with its properties: major in the high word.
constexpr DWORD MAKELONG_VERSION(WORD major, WORD minor) {
    return (DWORD(major) << 16) | minor;
}

// OLE colours: 0x00BBGGRR, or 0x80000000 | a system colour index.
template <> struct VariantTraits<DWORD> {
    static constexpr VARTYPE vt = VT_I4;
    static DWORD Read(const VARIANT& v) { return DWORD(v.lVal); }
    static void Write(DWORD x, VARIANT* v) { v->vt = VT_I4, v->lVal = LONG(x); }
};

// [SECTION] Class description

// What a control class tells the framework about itself. Everything it
// points at is static data of the module.
struct COleControlClass {
    CLSID clsid;
    const DispTable* dispatch; // the control's rows, stock ones included
    const DispTable* events;   // may be null: no events
    // May stay GUID_NULL here when the constructor calls InitializeIIDs.
    IID dispatchIid{};
    IID eventsIid{};
    const TypeLibDesc* typeLib{nullptr}; // null: no type information
    HMODULEINSTANCE resources{nullptr};  // the About box and strings
    CFactoryList* factories{nullptr};    // counts the live objects
    DWORD miscStatus{OLEMISC_ACTIVATEWHENVISIBLE | OLEMISC_SETCLIENTSITEFIRST | OLEMISC_INSIDEOUT |
                     OLEMISC_CANTLINKINSIDE | OLEMISC_RECOMPOSEONRESIZE};
};

// [SECTION] COleControl

class COleControl : public CWnd,
                    public CDispatchObject,
                    public IPersistPropertyBag,
                    public IOleObject,
                    public IOleInPlaceObject,
                    public IViewObject,
                    public IProvideClassInfo {
public:
    explicit COleControl(const COleControlClass& cls);
    ~COleControl() override;

    // The factory's creation function of a control class T:
    //   COleObjectFactory::CreateFn create = &COleControl::CreateObject<CLedCtrl>;
    template <class T> static HRESULT CreateObject(REFIID riid, void** ppv);
    // The object behind a token from the ControlPointer property (see
    // ControlPointer.h), and the class description.
    const COleControlClass& GetControlClass() const { return m_class; }

    // [SECTION] Construction

    // The control's own dispatch and event interfaces.
    void InitializeIIDs(const IID* dispatchIid, const IID* eventsIid);
    // The size in pixels a container gives a newly inserted control.
    void SetInitialSize(int cx, int cy);
    BOOL GetControlSize(int* cx, int* cy) const;
    // Changes the extent and, with a window, the window's size.
    BOOL SetControlSize(int cx, int cy);

    // [SECTION] Drawing

    // Draws the control into `dc` within `rcBounds`; `rcInvalid` is the part
    // that needs drawing. Called for WM_PAINT (bounds = the client area) and
    // for IViewObject::Draw.
    virtual void OnDraw(CDC* dc, const CRect& rcBounds, const CRect& rcInvalid);
    // Redraws the whole control (or `rc`) at the next paint. Without a
    // window there is nothing to do.
    void InvalidateControl(const RECT* rc = nullptr, BOOL erase = TRUE);
    // A synchronous repaint: the picture is on the screen when it returns.
    void Refresh();
    // Paints through the subclassed system window, which asks its owner to
    // draw (the reflected OCM_DRAWITEM reaches this control).
    void DoSuperclassPaint(CDC* dc, const CRect& rcBounds);
    BOOL IsSubclassedControl() const;
    // The window's client area; while the control has no window, the bounds
    // of its last OnDraw.
    void GetClientRect(RECT* rc) const override;
    // An OLE colour as an RGB value: system colours through GetSysColor.
    static COLORREF TranslateColor(OLE_COLOR color);
    // Select the stock font (or a holder's font) into the DC and return the
    // font that was selected before.
    CFont* SelectStockFont(CDC* dc);
    CFont* SelectFontObject(CDC* dc, CFontHolder& font);

    // [SECTION] State

    void SetModifiedFlag(BOOL modified = TRUE) { m_modified = modified != FALSE; }
    BOOL IsModified() const { return m_modified; }
    // The persistence version that was loaded (the default version after a
    // reset or before any load).
    DWORD GetVersion() const { return m_versionLoaded; }
    BOOL IsWindowless() const { return m_hWnd == nullptr; }

    // [SECTION] Persistence

    // Exchanges the extent and the stock properties the control has.
    virtual void DoPropExchange(CPropExchange* pPX);
    // Every property to its default: resets the version and runs
    // DoPropExchange in reset mode.
    virtual void OnResetState();
    BOOL ExchangeVersion(CPropExchange* pPX, DWORD versionDefault, BOOL convert = TRUE);
    BOOL ExchangeExtent(CPropExchange* pPX);
    void ExchangeStockProps(CPropExchange* pPX);

    // [SECTION] Stock properties

    OLE_COLOR GetBackColor() { return m_backColor; }
    void SetBackColor(OLE_COLOR color);
    OLE_COLOR GetForeColor() { return m_foreColor; }
    void SetForeColor(OLE_COLOR color);
    // Caption and Text are one string.
    CString GetText() { return m_text; }
    void SetText(CString text);
    const CString& InternalGetText() const { return m_text; }
    BOOL GetEnabled() { return m_enabled; }
    void SetEnabled(BOOL enabled);
    SHORT GetBorderStyle() { return m_borderStyle; }
    void SetBorderStyle(SHORT style);
    CFontHolder& InternalGetFont() { return m_font; }
    // The font object, with a new reference.
    IDispatch* GetFont() { return m_font.GetFontDispatch(); }
    void SetFont(IDispatch* font);

    virtual void OnBackColorChanged();
    virtual void OnForeColorChanged();
    virtual void OnTextChanged();
    virtual void OnFontChanged();
    virtual void OnEnabledChanged();
    virtual void OnBorderStyleChanged();

    // Shows the module's About box (dialog 50) modally over the container.
    virtual void AboutBox();

    // [SECTION] Events

    // Fires an event synchronously to every connected sink. Arguments go in
    // the event row's order and are converted to its declared types; a
    // pointer argument is by reference and receives the sink's answer:
    //   FireEvent(eventRequestText, SHORT(unit), &text, &handled);
    template <class... A> void FireEvent(DISPID dispid, A... args);
    void FireClick() { FireEvent(DISPID_CLICK); }
    // After a press and release of one mouse button inside the control:
    // LEFT_BUTTON, RIGHT_BUTTON or MIDDLE_BUTTON. The default fires the
    // stock Click for the left button; a control that reports the other
    // buttons too fires it itself.
    virtual void OnClick(USHORT button);

    // [SECTION] Errors raised from dispatch accessors

    // Fails a property put with CTL_E_SETNOTSUPPORTED.
    [[noreturn]] static void SetNotSupported();
    [[noreturn]] static void ThrowError(SCODE scode, LPCTSTR description = nullptr);

    // [SECTION] Window

    // Defaults to the framework's own class; a control that subclasses a
    // system class sets "BUTTON" or "STATIC" here.
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    // Creates the window as a child of `parent` at `pos` (parent's client
    // coordinates). A subclassed control gets a reflector window between
    // it and the parent, so its notifications come back to it.
    BOOL CreateControlWindow(HWND parent, const CRect& pos);
    void DestroyControlWindow();

    // [SECTION] IUnknown, IDispatch (through CDispatchObject)

    STDMETHOD(QueryInterface)(REFIID riid, void** ppv) override;
    // ISpecifyPropertyPages: the classes of the control's pages.
    HRESULT QuerySpecifyPropertyPages(void** ppv);
    STDMETHOD_(ULONG, AddRef)() override { return CDispatchObject::AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return CDispatchObject::Release(); }

    // [SECTION] IPersistPropertyBag

    STDMETHOD(GetClassID)(CLSID* pClassID) override;
    STDMETHOD(InitNew)() override;
    STDMETHOD(Load)(IPropertyBag* pPropBag, IErrorLog* pErrorLog) override;
    STDMETHOD(Save)(IPropertyBag* pPropBag, BOOL fClearDirty, BOOL fSaveAllProperties) override;
    STDMETHOD(IsDirty)() override { return m_modified ? S_OK : S_FALSE; }

    // [SECTION] IOleObject

    STDMETHOD(SetClientSite)(IUnknown* pClientSite) override;
    STDMETHOD(GetClientSite)(IUnknown** ppClientSite) override;
    STDMETHOD(GetUserClassID)(CLSID* pClsid) override;
    STDMETHOD(GetMiscStatus)(DWORD dwAspect, DWORD* pdwStatus) override;
    STDMETHOD(DoVerb)(LONG iVerb, HWND hwndParent, const RECT* lprcPosRect) override;
    STDMETHOD(Close)(DWORD dwSaveOption) override;
    STDMETHOD(SetExtent)(DWORD dwDrawAspect, SIZEL* psizel) override;
    STDMETHOD(GetExtent)(DWORD dwDrawAspect, SIZEL* psizel) override;

    // [SECTION] IOleInPlaceObject

    STDMETHOD(GetWindow)(HWND* phwnd) override;
    STDMETHOD(SetObjectRects)(const RECT* lprcPosRect, const RECT* lprcClipRect) override;
    STDMETHOD(InPlaceDeactivate)() override;

    // [SECTION] IViewObject, IProvideClassInfo

    STDMETHOD(Draw)(DWORD dwDrawAspect, HDC hdcDraw, const RECT* lprcBounds) override;
    STDMETHOD(GetClassInfo)(ITypeInfo** ppTI) override;

protected:
    // [SECTION] Message handlers of the framework

    // Keeps the object alive while it handles a message: a host may release
    // it from inside an event fired there.
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    LRESULT OnPrintClient(WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnRButtonDown(UINT flags, CPoint point) override;
    void OnRButtonUp(UINT flags, CPoint point) override;
    void OnMButtonDown(UINT flags, CPoint point) override;
    void OnMButtonUp(UINT flags, CPoint point) override;
    void OnCancelMode() override;
    void OnDestroy() override;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The bounds of the last OnDraw (drawing through IViewObject without a
    // window); the windowless client area.
    CRect m_rcBoundsLast;

private:
    void FireEventArgs(DISPID dispid, VARIANT* args, UINT count);
    const DispEntry* FindEvent(DISPID dispid) const;
    bool HasStock(DISPID dispid) const;
    void DrawInto(CDC* dc, const CRect& bounds, const CRect& invalid);
    void UpdateBorderStyle();
    HWND OuterWindow() const;
    // The press and release of one button, tracked with the mouse captured
    // while any button is down; a release inside reports OnClick.
    void ButtonDown(USHORT button);
    void ButtonUp(USHORT button, CPoint point);

    COleControlClass m_class;
    bool m_modified{false};
    DWORD m_versionLoaded{0};
    SIZE m_extent{100, 50}; // pixels; the framework's default size
    SIZE m_initialSize{100, 50};
    USHORT m_buttonsDown{0}; // LEFT_BUTTON | RIGHT_BUTTON | MIDDLE_BUTTON
    bool m_destroying{false};

    OLE_COLOR m_backColor{0x80000000 | 5}; // COLOR_WINDOW
    OLE_COLOR m_foreColor{0x80000000 | 8}; // COLOR_WINDOWTEXT
    CString m_text;
    BOOL m_enabled{TRUE};
    SHORT m_borderStyle{0};
    CFontHolder m_font;

    IUnknown* m_site{nullptr};         // one reference held
    std::unique_ptr<CWnd> m_reflector; // between a subclassed window and its container
};

// [SECTION] Stock rows of a dispatch table

// The font object of the stock Font property.
HRESULT StockFontGet(void* object, const DispEntry& entry, VARIANT* result);
HRESULT StockFontPut(void* object, const DispEntry& entry, const VARIANT& value);

constexpr DispEntry DispStockBackColor() {
    return DispGetSet<&COleControl::GetBackColor, &COleControl::SetBackColor>(
        "BackColor", DISPID_BACKCOLOR, VT_I4);
}
constexpr DispEntry DispStockForeColor() {
    return DispGetSet<&COleControl::GetForeColor, &COleControl::SetForeColor>(
        "ForeColor", DISPID_FORECOLOR, VT_I4);
}
constexpr DispEntry DispStockFont() {
    return DispEntry{"Font", DISPID_FONT,   DispKind::Property, VT_DISPATCH,
                     {},     &StockFontGet, &StockFontPut};
}
constexpr DispEntry DispStockCaption() {
    return DispGetSet<&COleControl::GetText, &COleControl::SetText>("Caption", DISPID_CAPTION,
                                                                    VT_BSTR);
}
constexpr DispEntry DispStockText() {
    return DispGetSet<&COleControl::GetText, &COleControl::SetText>("Text", DISPID_TEXT, VT_BSTR);
}
constexpr DispEntry DispStockEnabled() {
    return DispGetSet<&COleControl::GetEnabled, &COleControl::SetEnabled>("Enabled", DISPID_ENABLED,
                                                                          VT_BOOL);
}
constexpr DispEntry DispStockBorderStyle() {
    return DispGetSet<&COleControl::GetBorderStyle, &COleControl::SetBorderStyle>(
        "BorderStyle", DISPID_BORDERSTYLE, VT_I2);
}
constexpr DispEntry DispStockAboutBox() {
    return DispMethod<&COleControl::AboutBox>("AboutBox", DISPID_ABOUTBOX, VT_EMPTY, {});
}
// The stock Click event row of an event table.
constexpr DispEntry DispStockClickEvent() {
    return DispEvent("Click", DISPID_CLICK, {});
}

// Fails a dispatch call with an OLE status (DISP_E_EXCEPTION to the caller,
// the status in the exception record).
[[noreturn]] void AfxThrowOleException(HRESULT hr);

// [SECTION] Templates

template <class T> HRESULT COleControl::CreateObject(REFIID riid, void** ppv) {
    static_assert(std::is_base_of_v<COleControl, T>, "a control class derives from COleControl");
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    T* object = new (std::nothrow) T();
    if (!object)
        return E_OUTOFMEMORY;
    // The dispatch rows reach the control through the address of its
    // COleControl part, so that part has to start the object.
    if (dynamic_cast<void*>(object) != static_cast<void*>(static_cast<COleControl*>(object))) {
        object->Release();
        return E_UNEXPECTED;
    }
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
}

template <class... A> void COleControl::FireEvent(DISPID dispid, A... args) {
    constexpr std::size_t N = sizeof...(A);
    const DispEntry* row = FindEvent(dispid);
    [[maybe_unused]] auto declared = [&](std::size_t i, VARTYPE natural) -> VARTYPE {
        if (row && i < row->params.size())
            return VARTYPE(row->params[i].vt & ~VT_BYREF);
        return natural;
    };
    // Each argument's value, converted to its declared type; by-reference
    // ones are handed to the sinks as pointers into `values`.
    CComVariant values[N + 1];
    VARIANT passed[N + 1]{};
    std::size_t i = 0;
    [[maybe_unused]] auto prepare = [&]<class T>(T arg) {
        using V = std::remove_cvref_t<std::remove_pointer_t<T>>;
        VARTYPE vt = declared(i, VariantTraits<V>::vt);
        if constexpr (std::is_pointer_v<T>) {
            kw::dispatch::WriteValue(*arg, vt, &values[i]);
            passed[i].vt = VARTYPE(values[i].vt | VT_BYREF);
            passed[i].byref = &values[i].llVal; // the value's storage
        } else {
            kw::dispatch::WriteValue(arg, vt, &values[i]);
            passed[i] = values[i];
        }
        ++i;
    };
    (prepare(args), ...);
    // A sink may release the control: nothing of it is touched afterwards.
    FireEventArgs(dispid, passed, UINT(N));
    i = 0;
    [[maybe_unused]] auto collect = [&]<class T>(T arg) {
        if constexpr (std::is_pointer_v<T>) {
            using V = std::remove_cvref_t<std::remove_pointer_t<T>>;
            V answer{};
            if (SUCCEEDED(kw::dispatch::ReadValue(values[i], &answer)))
                *arg = std::move(answer);
        }
        ++i;
    };
    (collect(args), ...);
}
