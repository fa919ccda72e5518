#pragma once
// CSEEdit: the single-line edit box a numeric entry field lays over its value
// field while the operator types. It is created hidden with the field's
// window and shown only while editing. When editing ends it evaluates the
// typed expression, formats the result and hands it to the field in one
// entry record; the field reads the evaluator's error state, converts,
// clamps and stores. Its evaluator keeps the operator's variables from one
// edit to the next.
#include "platform/afx/Edit.h"
#include "spinedit/ExpressionEvaluator.h"

class CSpinEditCtrl;

class CSEEdit final : public CEdit {
public:
    CSEEdit() = default;

    // Creates the hidden box as child 1 of `control`, with its font.
    BOOL CreateFor(CSpinEditCtrl* control);
    // Shows the box over `rc` with `text` and takes the focus. `ch` is the
    // character that started editing (1 for a click): a click, Enter, space
    // or '#' selects the text, Backspace edits it, any other character
    // replaces it.
    void Activate(DWORD styleBits, const CRect& rc, const CString& text, UINT ch);

    CExpressionEvaluator& Evaluator() { return m_evaluator; }
    // The key that ended the last edit: 9, 13, 27, 33, 34, 37 to 40, or 0.
    LONG LastKey() const { return m_lastKey; }

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    UINT OnGetDlgCode() override;
    void OnKeyDown(UINT nChar, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT nChar, UINT repeat, UINT flags) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    // Ends editing with `key`: the focus goes back to the field.
    void Leave(LONG key);
    // The text handed to the field: the evaluated result, or empty.
    CString EvaluateText(const CString& text);

    CExpressionEvaluator m_evaluator;
    LONG m_lastKey{0};
    CString m_startingText;
};
