#pragma once
// The platform's stock property pages: font, colour and picture. They come
// with the component runtime, not with a control module: the runtime knows
// their class identifiers (CoCreateInstance makes them), and a control
// names them in its page list after its own pages.
//
// Each edits one kind of property, found in the objects' type information:
// font objects, colours (long properties whose name speaks of a colour, and
// the stock colours), picture objects. A list at the top chooses the
// property; with several objects the page offers the properties all of them
// have, shows the first object's value and writes to every object. Changes
// wait for Apply, property by property, and only what the user changed is
// written: Cancel in the frame writes nothing.
#include "platform/afx/OlePropertyPage.h"

#include <functional>
#include <string>
#include <vector>

constexpr CLSID CLSID_StockFontPage =
    MakeGuid(0x7EBDAAE0, 0x8120, 0x11CF, 0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10);
constexpr CLSID CLSID_StockColorPage =
    MakeGuid(0x7EBDAAE1, 0x8120, 0x11CF, 0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10);
constexpr CLSID CLSID_StockPicturePage =
    MakeGuid(0x7EBDAAE2, 0x8120, 0x11CF, 0x89, 0x9F, 0x00, 0xAA, 0x00, 0x68, 0x8B, 0x10);

// The items of the stock pages.
enum : int {
    IDC_STOCK_PROPLABEL = 0x0200,
    IDC_STOCK_PROPERTY, // the property chosen (all three pages)
    IDC_STOCK_SAMPLE,   // the sample or preview (all three pages)
    IDC_FONT_FACELABEL = 0x0210,
    IDC_FONT_FACE,
    IDC_FONT_SIZELABEL,
    IDC_FONT_SIZE,
    IDC_FONT_EFFECTS,
    IDC_FONT_BOLD,
    IDC_FONT_ITALIC,
    IDC_FONT_UNDERLINE,
    IDC_FONT_STRIKEOUT,
    IDC_COLOR_PALETTELABEL = 0x0220,
    IDC_COLOR_SYSLABEL,
    IDC_COLOR_SYSTEM,         // the system colours by name
    IDC_COLOR_PALETTE = 0x0230, // the sixteen standard colours, 0x0230 to 0x023F
    IDC_PICTURE_BROWSE = 0x0240,
    IDC_PICTURE_CLEAR,
};

namespace kw::afx {

// Makes the stock pages known to the component runtime of this process
// (done when the framework is loaded; calling it again does nothing).
void RegisterStockPropPages();

// Late-bound access by name (letter case ignored).
bool GetPropertyByName(IDispatch* object, const char* name, VARIANT* value);
bool PutPropertyByName(IDispatch* object, const char* name, const VARIANT& value);
bool HasMember(IDispatch* object, const char* name);

} // namespace kw::afx

class CStockPropPage : public COlePropertyPage {
public:
    CStockPropPage(UINT idDialog, UINT idCaption);

    STDMETHOD(Apply)() override;

    // The properties the page offers for the objects it was given.
    const std::vector<std::string>& Properties() const { return m_properties; }

protected:
    // Whether a property row of an object is of the page's kind (`value`
    // is the object's current value of it).
    virtual bool Accepts(const DispEntry& row, const VARIANT& value) const = 0;
    // Shows property `index` (of Properties()) in the items.
    virtual void ShowProperty(std::size_t index) = 0;
    // Writes the changes waiting for every property; false (and nothing
    // written) when a value is refused.
    virtual bool ApplyChanges() = 0;
    // A command from one of the page's own items.
    virtual BOOL OnItemCommand(int id, WORD code) = 0;

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    std::size_t Current() const { return m_current; }
    // A user's change: the page becomes dirty.
    void Changed() { SetModifiedFlag(TRUE); }
    // True while the page itself fills its items.
    bool Filling() const { return m_filling; }
    struct FillScope {
        explicit FillScope(CStockPropPage& page) : m_page(page), m_was(page.m_filling) {
            page.m_filling = true;
        }
        ~FillScope() { m_page.m_filling = m_was; }
        CStockPropPage& m_page;
        bool m_was;
    };
    // The objects, and the property's value of the first.
    std::vector<IDispatch*> Objects();
    bool ReadFirst(const std::string& name, VARIANT* value);
    // A message box over the page, titled as its frame.
    void Refuse(int focusId, const char* text);

private:
    std::vector<std::string> FindProperties();

    std::vector<std::string> m_properties;
    std::size_t m_current{0};
    bool m_filling{false};
};
