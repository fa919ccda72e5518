#pragma once
// Registration of controls and property pages with the platform's registry
// layout:
//   HKCR\<ProgID>                          @ = user type name
//   HKCR\<ProgID>\CLSID                    @ = {clsid}
//   HKCR\CLSID\{clsid}                     @ = user type name
//   HKCR\CLSID\{clsid}\ProgID              @ = ProgID
//   HKCR\CLSID\{clsid}\InprocServer32      @ = module path, ThreadingModel
//   HKCR\CLSID\{clsid}\Control
//   HKCR\CLSID\{clsid}\MiscStatus          @ = "0"
//   HKCR\CLSID\{clsid}\MiscStatus\1        @ = misc status (decimal)
//   HKCR\CLSID\{clsid}\ToolboxBitmap32     @ = "module path, bitmap id"
//   HKCR\CLSID\{clsid}\TypeLib             @ = {libid}
//   HKCR\CLSID\{clsid}\Version             @ = "major.minor"
// A property page has only the class key (its registration name) and its
// InprocServer32 without a threading model.
#include "platform/afx/ModuleResources.h"

enum AfxRegThreading { afxRegNone = 0, afxRegApartmentThreading = 1 };

// FALSE when the string is missing or the registry refuses a write.
BOOL AfxOleRegisterControlClass(HMODULEINSTANCE hInstance, REFCLSID clsid, LPCTSTR pszProgID,
                                UINT idTypeName, UINT idBitmap, int nRegFlags, DWORD dwMiscStatus,
                                REFGUID tlid, WORD wVerMajor, WORD wVerMinor);
BOOL AfxOleRegisterPropertyPageClass(HMODULEINSTANCE hInstance, REFCLSID clsid, UINT idTypeName);
// Removes the class key and, when given, the ProgID key.
BOOL AfxOleUnregisterClass(REFCLSID clsid, LPCTSTR pszProgID);
