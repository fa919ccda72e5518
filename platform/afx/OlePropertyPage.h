#pragma once
// COlePropertyPage: the base of every property page. A page is a dialog
// (its template and caption come from the module's resources) and a
// component object with IPropertyPage, which a frame uses: it hands the
// page the objects to edit, activates it in its own window, shows and moves
// it, asks whether it is dirty, applies it and deactivates it.
//
// A page class is a table of exchanges: its DoDataExchange lists the DDP_,
// DDX_ and DDV_ calls of its items (platform/afx/DataExchange.h), and
// OnInitDialog may set item ranges. Opening the page runs the table to show
// the objects' values; applying runs it the other way and writes the
// properties of the items the user changed. A value out of its range keeps
// the page open and dirty, and nothing is written.
//
// Properties are reached late-bound through each object's IDispatch, by
// name, without regard to letter case: GetPropText reads from the first
// object, SetPropText writes to every object. A page that needs the object
// itself reads its ControlPointer (platform/afx/ControlPointer.h).
#include "platform/afx/DataExchange.h"
#include "platform/afx/Dialog.h"
#include "platform/afx/OleDispatchDriver.h"
#include "platform/afx/OleObjectFactory.h"
#include "platform/afx/PropertyPageInterfaces.h"
#include "platform/com/ComObject.h"

#include <new>
#include <set>
#include <string>
#include <type_traits>
#include <vector>

class COlePropertyPage : public CDialog, public CComObjectRoot<IPropertyPage, IID_IPropertyPage> {
public:
    // With `factories`, the page counts as a live object of its module, so
    // that the module is not unloaded under it.
    COlePropertyPage(HMODULEINSTANCE resources, UINT idDialog, UINT idCaption,
                     CFactoryList* factories = nullptr);
    // A page of the module whose state is current: its resources and its
    // factories.
    COlePropertyPage(UINT idDialog, UINT idCaption);
    ~COlePropertyPage() override;

    // The factory's creation function of a page class T:
    //   COleObjectFactory::CreateFn create = &COlePropertyPage::CreateObject<CLedPropPage>;
    template <class T> static HRESULT CreateObject(REFIID riid, void** ppv);

    // [SECTION] Exchange

    // Runs DoDataExchange: FALSE fills the items from the members, TRUE
    // reads them back and writes the changed properties. FALSE when a value
    // was refused (or the page has no window).
    BOOL UpdateData(BOOL saveAndValidate = TRUE);
    // Marks the page dirty (its site hears of it) or clean.
    void SetModifiedFlag(BOOL modified = TRUE);
    BOOL IsModified() const { return m_dirty; }
    // Whether the user changed the item (or, for a group, any radio button
    // of the group starting at `id`) since the values were last shown or
    // applied.
    BOOL IsControlChanged(int id) const;
    BOOL IsGroupChanged(int firstId) const;

    // [SECTION] Objects and their properties

    // The IDispatch of every object, in the order the frame gave them.
    IDispatch** GetObjectArray(ULONG* count);

    BOOL GetPropText(LPCSTR propName, CString* value);
    BOOL GetPropText(LPCSTR propName, BYTE* value);
    BOOL GetPropText(LPCSTR propName, short* value);
    BOOL GetPropText(LPCSTR propName, int* value);
    BOOL GetPropText(LPCSTR propName, UINT* value);
    BOOL GetPropText(LPCSTR propName, long* value);
    BOOL GetPropText(LPCSTR propName, float* value);
    BOOL GetPropText(LPCSTR propName, double* value);
    // While an applying exchange runs, the write waits for its end (and is
    // dropped when the exchange is refused); TRUE then means it was kept.
    BOOL SetPropText(LPCSTR propName, const CString& value);
    BOOL SetPropText(LPCSTR propName, LPCSTR value) {
        return SetPropText(propName, CString(value));
    }
    BOOL SetPropText(LPCSTR propName, BYTE value);
    BOOL SetPropText(LPCSTR propName, short value);
    BOOL SetPropText(LPCSTR propName, int value);
    BOOL SetPropText(LPCSTR propName, UINT value);
    BOOL SetPropText(LPCSTR propName, long value);
    BOOL SetPropText(LPCSTR propName, float value);
    BOOL SetPropText(LPCSTR propName, double value);

    // [SECTION] IPropertyPage

    STDMETHOD(SetPageSite)(IPropertyPageSite* site) override;
    STDMETHOD(Activate)(HWND parent, const RECT* rc, BOOL modal) override;
    STDMETHOD(Deactivate)() override;
    STDMETHOD(GetPageInfo)(PROPPAGEINFO* info) override;
    STDMETHOD(SetObjects)(ULONG count, IUnknown** objects) override;
    STDMETHOD(Show)(UINT cmd) override;
    STDMETHOD(Move)(const RECT* rc) override;
    STDMETHOD(IsPageDirty)() override;
    STDMETHOD(Apply)() override;
    STDMETHOD(Help)(const char* helpDir) override;
    STDMETHOD(TranslateAccelerator)(MSG* msg) override;

protected:
    // The page's table of exchanges; the default has none.
    virtual void DoDataExchange(CDataExchange* pDX);
    // Shows the objects' values (UpdateData(FALSE)).
    BOOL OnInitDialog() override;
    // Tracks the items the user changes (EN_CHANGE, BN_CLICKED of check
    // boxes and radio buttons, CBN_SELCHANGE, LBN_SELCHANGE); each makes
    // the page dirty.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // A page has no OK and Cancel of its own: its frame has.
    void OnOK() override {}
    void OnCancel() override {}

private:
    template <class T> BOOL ReadLong(LPCSTR propName, T* value);
    BOOL ReadProperty(LPCSTR propName, VARTYPE vt, void* value);
    BOOL WriteProperty(LPCSTR propName, VARTYPE vt, const void* value);
    template <class T> BOOL Write(LPCSTR propName, VARTYPE vt, T value);

    HMODULEINSTANCE m_resources;
    UINT m_idCaption;
    CFactoryList* m_factories;
    std::vector<ComPtr<IDispatch>> m_objects;
    std::vector<IDispatch*> m_objectArray;
    ComPtr<IPropertyPageSite> m_site;
    bool m_dirty{false};
    bool m_showing{false};  // An exchange fills the items: no change is the user's.
    bool m_tracking{false}; // Active and built: changes are the user's.
    CDataExchange* m_applying{nullptr};
    // Properties an object refused to take during the last apply.
    std::vector<std::string> m_refused;
    std::set<int> m_changed;
};

template <class T> HRESULT COlePropertyPage::CreateObject(REFIID riid, void** ppv) {
    static_assert(std::is_base_of_v<COlePropertyPage, T>,
                  "a page class derives from COlePropertyPage");
    if (!ppv)
        return E_POINTER;
    *ppv = nullptr;
    T* page = new (std::nothrow) T();
    if (!page)
        return E_OUTOFMEMORY;
    const HRESULT hr = page->QueryInterface(riid, ppv);
    page->Release();
    return hr;
}
