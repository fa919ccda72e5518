// CBmpButton2Ctrl: the launcher's interface, icon, persistence and the
// start of its program.
#include "buttons/BmpButton2Ctrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"
#include "platform/shell/Process.h"
#include "platform/shell/ShellIcons.h"
#include "platform/shell/ShellPaths.h"

#include <cstdio>
#include <vector>

namespace {

using C = CBmpButton2Ctrl;

const DispEntry kBmpButton2Rows[] = {
    DispMember<&C::m_command, &C::OnIconPropertyChanged>("COMMAND", 1, VT_BSTR),
    DispMember<&C::m_iconIndex, &C::OnIconPropertyChanged>("IconIndex", 2, VT_I2),
    DispMember<&C::m_symSize, &C::OnIconPropertyChanged>("SymSize", 3, VT_I2),
    DispGetSet<&C::GetWorkPath, &C::SetWorkPath>("WORKPATH", 4, VT_BSTR),
    DispMember<&C::m_arg, &C::OnLaunchPropertyChanged>("ARG", 5, VT_BSTR),
    DispStockEnabled(),
    DispStockBorderStyle(),
    DispStockAboutBox(),
};
const DispEntry kBmpButton2EventRows[] = {DispStockClickEvent()};

const DispTable kBmpButton2Table{kBmpButton2Rows};
const DispTable kBmpButton2Events{kBmpButton2EventRows};

COleControlClass BmpButton2Class() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_BmpButton2, &kBmpButton2Table, &kBmpButton2Events};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x21191;
    return cls;
}

} // namespace

const DispTable& BmpButton2DispatchTable() {
    return kBmpButton2Table;
}
const DispTable& BmpButton2EventTable() {
    return kBmpButton2Events;
}

CBmpButton2Ctrl::CBmpButton2Ctrl() : CBmpButton1Ctrl(BmpButton2Class()) {
    InitializeIIDs(&kw::ids::IID_DBmpButton2, &kw::ids::IID_DBmpButton2Events);
    SetInitialSize(28, 28);
    InitialiseFields(); // auto-repeat stays off: nothing here turns it on
    m_iconIndex = 0;
    m_symSize = 0;
}

CBmpButton2Ctrl::~CBmpButton2Ctrl() = default;

// [SECTION] Properties

void CBmpButton2Ctrl::OnIconPropertyChanged() {
    LoadIcon();
}

void CBmpButton2Ctrl::OnLaunchPropertyChanged() {
    SetModifiedFlag();
}

void CBmpButton2Ctrl::SetWorkPath(CString path) {
    // A cut path would name another folder, so a path the launch buffer
    // cannot hold whole is refused and the old one kept.
    if (path.GetLength() >= kPathBuffer)
        ThrowDispatchException(E_INVALIDARG, "WORKPATH is longer than " +
                                                 std::to_string(kPathBuffer - 1) + " characters");
    m_workPath = std::move(path);
    SetModifiedFlag();
}

void CBmpButton2Ctrl::LoadIcon() {
    m_programPath.Empty();
    if (!m_command.IsEmpty()) {
        char drive[_MAX_DRIVE], dir[_MAX_DIR], fname[_MAX_FNAME], ext[_MAX_EXT];
        char path[_MAX_PATH];
        _splitpath(m_command.Str().c_str(), drive, dir, fname, ext);
        _makepath(path, drive, dir, fname, ext);
        // A part cut to its buffer would name another program: such a
        // command starts nothing.
        if (m_command.Str() == path)
            m_programPath = path;
    }
    HICON large = nullptr;
    HICON small = nullptr;
    ExtractIconExA(m_programPath.Str().c_str(), m_iconIndex, &large, &small, 1);
    if (!large && !small)
        ExtractIconExA(kStockIconLibrary, m_iconIndex, &large, &small, 1);

    HICON chosen = nullptr;
    if (m_symSize == 0)
        chosen = small ? small : large;
    else if (m_symSize == 1)
        chosen = large ? large : small;
    else if (!large || !small)
        chosen = large ? large : small; // the one that exists; none when both do
    if (chosen)
        m_staticPic.CreateFromIcon(chosen, TRUE);
    else
        m_staticPic.CreateEmpty();
    for (HICON icon : {large, small})
        if (icon && icon != chosen)
            DestroyIcon(icon);
    InvalidateControl();
    SetModifiedFlag();
}

// [SECTION] The click

CString CBmpButton2Ctrl::CommandLine() const {
    return CString(m_programPath.Str() + " " + m_arg.Str());
}

CString CBmpButton2Ctrl::WorkingDirectory() const {
    if (!m_workPath.IsEmpty())
        return m_workPath;
    char temp[kPathBuffer];
    const DWORD length = GetTempPathA(kPathBuffer, temp);
    return length > 0 && length < DWORD(kPathBuffer) ? CString(temp) : CString();
}

void CBmpButton2Ctrl::OnButtonClick() {
    // The object outlives the message this runs in, even when a host
    // releases it from its Click handler; what the handler set is started.
    FireClick();
    const CString program = m_programPath;
    const CString line = CommandLine();
    const CString directory = WorkingDirectory();
    if (program.IsEmpty())
        return;
    std::vector<char> commandLine(line.Str().begin(), line.Str().end());
    commandLine.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = 68;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(program.Str().c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_DEFAULT_ERROR_MODE | NORMAL_PRIORITY_CLASS, nullptr,
                        directory.IsEmpty() ? nullptr : directory.Str().c_str(), &startup,
                        &process)) {
        // The operator is not troubled; whoever reads the host's output is.
        std::fprintf(stderr, "BmpButton2: \"%s\" did not start (error %u)\n", program.Str().c_str(),
                     unsigned(GetLastError()));
    }
}

// [SECTION] Persistence

void CBmpButton2Ctrl::DoPropExchange(CPropExchange* pPX) {
    ExchangeVersion(pPX, MAKELONG_VERSION(1, 4));
    COleControl::DoPropExchange(pPX);
    ExchangeButtonProps(pPX);
    PX_String(pPX, "COMMAND", m_command, CString());
    PX_Short(pPX, "IconIndex", m_iconIndex, 0);
    LoadIcon();
}

void CBmpButton2Ctrl::OnResetState() {
    m_staticPic.CreateEmpty();
    m_hooverPic.CreateEmpty();
    COleControl::OnResetState();
}
