#pragma once
// Property exchange: one DoPropExchange per control both loads and saves its
// persistent properties by name, through a property bag, or resets them to
// their defaults. An exchange with a default gives the member that default
// when the name is missing, when its value cannot be converted, and on a
// reset; an exchange without one leaves the member as it is then.
#include "platform/afx/CString.h"
#include "platform/com/PropertyBag.h"

class CPropExchange {
public:
    // Reads from `bag`; names the bag lacks take their defaults.
    static CPropExchange ForLoad(IPropertyBag* bag);
    // Writes into `bag`; unless `saveAll`, values equal to their defaults
    // are left out, as the framework does.
    static CPropExchange ForSave(IPropertyBag* bag, bool saveAll);
    // Every property with a default takes it (a newly inserted control).
    static CPropExchange ForReset();

    BOOL IsLoading() const { return m_mode != Mode::Save; }
    bool IsResetting() const { return m_mode == Mode::Reset; }
    DWORD GetVersion() const { return m_version; }

    // The persistence version under "_Version": loading reads it (a bag
    // without one is taken as `defaultVersion`) into `loaded`; saving and
    // resetting use `defaultVersion`.
    BOOL ExchangeVersion(DWORD& loaded, DWORD defaultVersion, BOOL convert);

    // The one primitive the PX_ functions use. Loading: reads `name` as type
    // `vt` into *value and answers true, or answers false (missing name,
    // value not convertible) leaving *value alone. Saving: writes *value
    // unless it equals *defaultValue and not everything is saved.
    bool ExchangeVariant(const char* name, VARIANT* value, VARTYPE vt, const VARIANT* defaultValue);

private:
    enum class Mode { Load, Save, Reset };
    CPropExchange(Mode mode, IPropertyBag* bag, bool saveAll)
        : m_mode(mode), m_bag(bag), m_saveAll(saveAll) {}
    Mode m_mode;
    IPropertyBag* m_bag;
    bool m_saveAll;
    DWORD m_version = 0;
};

BOOL PX_Short(CPropExchange* pPX, LPCTSTR name, SHORT& value);
BOOL PX_Short(CPropExchange* pPX, LPCTSTR name, SHORT& value, SHORT defaultValue);
BOOL PX_UShort(CPropExchange* pPX, LPCTSTR name, USHORT& value);
BOOL PX_UShort(CPropExchange* pPX, LPCTSTR name, USHORT& value, USHORT defaultValue);
BOOL PX_Long(CPropExchange* pPX, LPCTSTR name, LONG& value);
BOOL PX_Long(CPropExchange* pPX, LPCTSTR name, LONG& value, LONG defaultValue);
BOOL PX_Bool(CPropExchange* pPX, LPCTSTR name, BOOL& value);
BOOL PX_Bool(CPropExchange* pPX, LPCTSTR name, BOOL& value, BOOL defaultValue);
BOOL PX_Float(CPropExchange* pPX, LPCTSTR name, float& value);
BOOL PX_Float(CPropExchange* pPX, LPCTSTR name, float& value, float defaultValue);
BOOL PX_Double(CPropExchange* pPX, LPCTSTR name, double& value);
BOOL PX_Double(CPropExchange* pPX, LPCTSTR name, double& value, double defaultValue);
BOOL PX_Color(CPropExchange* pPX, LPCTSTR name, OLE_COLOR& value);
BOOL PX_Color(CPropExchange* pPX, LPCTSTR name, OLE_COLOR& value, OLE_COLOR defaultValue);
BOOL PX_String(CPropExchange* pPX, LPCTSTR name, CString& value);
BOOL PX_String(CPropExchange* pPX, LPCTSTR name, CString& value, const CString& defaultValue);
