#pragma once
// CBmpButton2PropPage1: the launcher's program with a preview of its icons,
// the icon size, the working directory and the arguments. "..." chooses the
// program with the file-open dialog and gives it to every launcher at once.
#include "platform/afx/OlePropertyPage.h"
#include "platform/user/Icon.h"

class CBmpButton2PropPage1 final : public COlePropertyPage {
public:
    enum : UINT { IDD = 58, IDS_CAPTION = 124 };
    enum : int {
        IDC_SMALLSYMBOL = 230, // the radio group of SymSize starts here
        IDC_LARGESYMBOL = 231,
        IDC_WORKPATH = 270,
        IDC_ARG = 271,
        IDC_COMMAND = 400,
        IDC_BROWSE = 401,
        IDC_SMALLICON = 402,
        IDC_LARGEICON = 403,
    };

    CBmpButton2PropPage1();
    ~CBmpButton2PropPage1() override;

    // The icons shown, held by the page (null when there is none).
    HICON SmallIcon() const { return m_smallIcon; }
    HICON LargeIcon() const { return m_largeIcon; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Shows icon 0 of `file`, or of the stock icon set when the file has none.
    void LoadIcons(const CString& file);
    void DestroyIcons();
    // "...": the chosen program goes to every object.
    void OnBrowse();
    void UseProgram(const CString& path);

    CString m_command;
    int m_symSize{0};
    CString m_workPath;
    CString m_arg;
    HICON m_smallIcon{nullptr};
    HICON m_largeIcon{nullptr};
};
