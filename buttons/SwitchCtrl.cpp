#include "buttons/SwitchCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ModuleState.h"

namespace {

using C = CPictureSwitch;

constexpr DispParam kSelParam[] = {{"sel", VT_I2}};

const DispEntry kSwitchRows[] = {
    DispMember<&C::m_mode, &C::OnChanged>("Mode", 1, VT_I2, "m_nMode"),
    DispMethod<&C::GetCheck>("GetCheck", 2, VT_I2, {}),
    DispMethod<&C::SetCheck>("SetCheck", 3, VT_EMPTY, kSelParam),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispEntry kSwitchEventRows[] = {DispStockClickEvent()};
const DispTable kSwitchTable{kSwitchRows};
const DispTable kSwitchEvents{kSwitchEventRows};

COleControlClass SwitchClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Switch, &kSwitchTable, &kSwitchEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x20191;
    return cls;
}

} // namespace

const DispTable& SwitchDispatchTable() {
    return kSwitchTable;
}
const DispTable& SwitchEventTable() {
    return kSwitchEvents;
}

CSwitchCtrl::CSwitchCtrl() : CPictureSwitch(SwitchClass()) {
    InitializeIIDs(&kw::ids::IID_DSwitch, &kw::ids::IID_DSwitchEvents);
    // The size comes from the pictures, so they load first.
    m_images.Create(kBitmapId, kCellWidth, 0, RGB(255, 0, 255));
    m_cell = CellOf(m_images, CSize(kCellWidth, kCellHeight));
    SetInitialSize(m_cell.cx, m_cell.cy + 1);
}

CSwitchCtrl::~CSwitchCtrl() = default;
