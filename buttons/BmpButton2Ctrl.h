#pragma once
// CBmpButton2Ctrl: a launcher. It is a BmpButton1 that shows the icon of a
// program file (or a stock icon) and, when clicked, fires Click and starts
// the program with its arguments in its working directory. It keeps its
// base's drawing, hover, input and verbs and brings its own interface,
// persistence, reset and click operation.
#include "buttons/BmpButton1Ctrl.h"

class CBmpButton2Ctrl final : public CBmpButton1Ctrl {
public:
    CBmpButton2Ctrl();
    ~CBmpButton2Ctrl() override;

    // [SECTION] Dispatch members
    void OnIconPropertyChanged();   // COMMAND, IconIndex, SymSize
    void OnLaunchPropertyChanged(); // ARG
    CString GetWorkPath() { return m_workPath; }
    // A working directory longer than the launch buffer is refused.
    void SetWorkPath(CString path);

    // Loads the icon for COMMAND, IconIndex and SymSize into the picture.
    void LoadIcon();

    // [SECTION] State a host or a test may look at
    const CString& ProgramPath() const { return m_programPath; }
    // The command line and working directory the next click starts with
    // (the directory empty when none fits).
    CString CommandLine() const;
    CString WorkingDirectory() const;

    CString m_command;
    SHORT m_iconIndex{0};
    SHORT m_symSize{0};
    CString m_workPath;
    CString m_arg;

    // The launch buffer holds this many characters with the closing zero.
    static constexpr int kPathBuffer = 260;

protected:
    void OnButtonClick() override;
    void DoPropExchange(CPropExchange* pPX) override;
    void OnResetState() override;

private:
    CString m_programPath;
};

const DispTable& BmpButton2DispatchTable();
const DispTable& BmpButton2EventTable();
