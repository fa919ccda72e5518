#pragma once
// The property page interfaces: a frame (the page site) hands a page the
// objects to edit, places the page's window in itself, asks whether the
// page holds unapplied changes and tells it to apply them. They keep the
// platform's names and identifiers but carry only what a frame here needs.
#include "platform/com/Unknown.h"
#include "platform/user/UserTypes.h"

#include <string>
#include <vector>

inline constexpr IID IID_IPropertyPage =
    MakeGuid(0xB196B28D, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);
inline constexpr IID IID_IPropertyPageSite =
    MakeGuid(0xB196B28C, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);

// What a page tells its site in OnStatusChange.
constexpr DWORD PROPPAGESTATUS_DIRTY = 0x1;
constexpr DWORD PROPPAGESTATUS_VALIDATE = 0x2;
constexpr DWORD PROPPAGESTATUS_CLEAN = 0x4;

// A page's title (its caption, Windows-1252) and the size of its window in
// pixels. Pages here have no help.
struct PROPPAGEINFO {
    std::string title;
    SIZE size{};
    std::string docString;
    std::string helpFile;
    DWORD helpContext{0};
};

struct IPropertyPageSite : IUnknown {
    // PROPPAGESTATUS_ flags: the page became dirty, or clean.
    STDMETHOD(OnStatusChange)(DWORD flags) = 0;
    STDMETHOD(GetLocaleID)(LCID* localeId) = 0;

protected:
    ~IPropertyPageSite() = default;
};

struct IPropertyPage : IUnknown {
    // The site the page reports to; null lets go of it.
    STDMETHOD(SetPageSite)(IPropertyPageSite* site) = 0;
    // Builds the page's window as a child of `parent` at `rc` (the parent's
    // client coordinates), with the values of the objects shown.
    STDMETHOD(Activate)(HWND parent, const RECT* rc, BOOL modal) = 0;
    // Destroys the page's window; unapplied changes are dropped.
    STDMETHOD(Deactivate)() = 0;
    STDMETHOD(GetPageInfo)(PROPPAGEINFO* info) = 0;
    // The objects the page edits; 0 objects lets go of them.
    STDMETHOD(SetObjects)(ULONG count, IUnknown** objects) = 0;
    STDMETHOD(Show)(UINT cmd) = 0;
    STDMETHOD(Move)(const RECT* rc) = 0;
    // S_OK while the page holds changes not applied yet, else S_FALSE.
    STDMETHOD(IsPageDirty)() = 0;
    // Writes the changes to the objects. A value the page refuses keeps the
    // page open and dirty with nothing written: E_FAIL.
    STDMETHOD(Apply)() = 0;
    STDMETHOD(Help)(const char* helpDir) = 0;
    // S_OK when the page used the keystroke, S_FALSE otherwise.
    STDMETHOD(TranslateAccelerator)(MSG* msg) = 0;

protected:
    ~IPropertyPage() = default;
};

// The classes of an object's property pages, in the order a frame shows them.
inline constexpr IID IID_ISpecifyPropertyPages =
    MakeGuid(0xB196B28B, 0xBAB4, 0x101A, 0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07);

struct CAUUID {
    std::vector<GUID> elems;
};

struct ISpecifyPropertyPages : IUnknown {
    STDMETHOD(GetPages)(CAUUID* pages) = 0;

protected:
    ~ISpecifyPropertyPages() = default;
};
