#pragma once
// Dialog data exchange: one call per dialog item, in a dialog's
// DoDataExchange, moves a value between the item and a member (DDX_), checks
// a range (DDV_) or binds the item to a property of the objects a property
// page edits (DDP_). The same table runs both ways: with m_bSaveAndValidate
// FALSE it fills the items, with TRUE it reads them back.
//
// A value the user typed that does not fit refuses the whole exchange: the
// framework's message shows (a message box with the exclamation icon), the
// focus goes to the item and every later call of the same run does nothing.
// The code of a dialog that does more than the calls (packing several items
// into one value) asks Failed() first.
//
// Property writes of a saving run are kept back and made only when the run
// ends without a refusal, in the order they were asked for, so that a
// refused page writes nothing.
#include "platform/afx/CString.h"
#include "platform/user/UserTypes.h"

#include <functional>
#include <vector>

class CDialog;
class CWnd;

// Shows `message` to the user of `dialog` (OK, exclamation), titled as the
// top-level window the dialog lies in.
void ShowExchangeMessage(HWND dialog, LPCSTR message);

class CDataExchange {
public:
    CDataExchange(CDialog* dialog, BOOL saveAndValidate);

    BOOL m_bSaveAndValidate;
    CDialog* m_pDlgWnd;
    // The item of the last exchange, where a refusal puts the focus.
    HWND m_hWndLastControl{nullptr};
    BOOL m_bEditLastControl{FALSE};

    // The item with the id, remembered as the last one; null when the dialog
    // has none (the exchange then does nothing).
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);

    // Refuses the run: shows `message` unless it is empty, puts the focus
    // on the last item (an edit's text selected) and stops the run.
    void Fail(const CString& message);
    BOOL Failed() const { return m_failed; }

    // A write made when the run has ended without a refusal.
    void Defer(std::function<void()> write);
    // Makes the kept writes, unless the run was refused; called once.
    void Commit();

    // DDP_ bindings of a saving run, turned into writes by DDP_PostProcessing.
    struct PropertyBinding {
        int id;
        bool group; // a radio group starting at `id`
        std::function<void()> write;
    };
    std::vector<PropertyBinding> m_bindings;

private:
    bool m_failed{false};
    std::vector<std::function<void()>> m_writes;
};

// [SECTION] Items and members

void DDX_Text(CDataExchange* pDX, int id, CString& value);
void DDX_Text(CDataExchange* pDX, int id, BYTE& value);
void DDX_Text(CDataExchange* pDX, int id, short& value);
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, long& value);
void DDX_Text(CDataExchange* pDX, int id, float& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
// BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// `id` is the first radio button of a group (WS_GROUP); the value is the
// index of the checked button among the group's radio buttons, -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// The index of a combo box's selection, -1 for none.
void DDX_CBIndex(CDataExchange* pDX, int id, int& value);
// Binds `control` to the item on the first run that finds the item.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);

// [SECTION] Ranges

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minimum, int maximum);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minimum, UINT maximum);

// [SECTION] Properties of a property page's objects
// Placed before the DDX_ call of the same item and member. Opening reads the
// property (from the first object) into the member; applying writes the
// member to the property of every object, but only for items the user
// changed since the page last showed its values, so that objects with
// different values keep those the user left alone.

void DDP_Text(CDataExchange* pDX, int id, CString& member, LPCSTR propName);
void DDP_Text(CDataExchange* pDX, int id, BYTE& member, LPCSTR propName);
void DDP_Text(CDataExchange* pDX, int id, short& member, LPCSTR propName);
void DDP_Text(CDataExchange* pDX, int id, int& member, LPCSTR propName);
void DDP_Text(CDataExchange* pDX, int id, UINT& member, LPCSTR propName);
void DDP_Text(CDataExchange* pDX, int id, long& member, LPCSTR propName);
void DDP_Text(CDataExchange* pDX, int id, float& member, LPCSTR propName);
void DDP_Text(CDataExchange* pDX, int id, double& member, LPCSTR propName);
void DDP_Check(CDataExchange* pDX, int id, int& member, LPCSTR propName);
void DDP_Radio(CDataExchange* pDX, int id, int& member, LPCSTR propName);
// Ends the DDP_ calls: the writes of the changed items are kept for the end
// of the run.
void DDP_PostProcessing(CDataExchange* pDX);
