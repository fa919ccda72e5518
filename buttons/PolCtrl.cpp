#include "buttons/PolCtrl.h"

#include "module/Guids.h"
#include "platform/afx/ControlPointer.h"
#include "platform/afx/ModuleState.h"

namespace {

using C = CPictureSwitch;

constexpr DispParam kSelParam[] = {{"sel", VT_I2}};

const DispEntry kPolarityRows[] = {
    DispMember<&C::m_mode, &C::OnChanged>("Mode", 1, VT_I2, "m_nMode"),
    DispMethod<&C::GetCheck>("GetCheck", 2, VT_I2, {}),
    DispMethod<&C::SetCheck>("SetCheck", 3, VT_EMPTY, kSelParam),
    DispControlPointer("ControlPointer", 4),
    DispStockEnabled(),
    DispStockAboutBox(),
};
// The library was never told of ControlPointer; callers in the process
// find it by name all the same.
constexpr DispEntry kPolarityLibraryRows[] = {
    DispMember<&C::m_mode, &C::OnChanged>("Mode", 1, VT_I2, "m_nMode"),
    DispMethod<&C::GetCheck>("GetCheck", 2, VT_I2, {}),
    DispMethod<&C::SetCheck>("SetCheck", 3, VT_EMPTY, kSelParam),
    DispStockEnabled(),
    DispStockAboutBox(),
};
const DispEntry kPolarityEventRows[] = {DispStockClickEvent()};
const DispTable kPolarityTable{kPolarityRows};
const DispTable kPolarityLibraryTable{kPolarityLibraryRows};
const DispTable kPolarityEvents{kPolarityEventRows};

COleControlClass PolarityClass() {
    const AFX_MODULE_STATE* module = AfxGetModuleState();
    COleControlClass cls{kw::ids::CLSID_Polarity, &kPolarityTable, &kPolarityEvents};
    cls.typeLib = module->typeLib;
    cls.resources = module->resources;
    cls.factories = module->factories;
    cls.miscStatus = 0x20191;
    return cls;
}

} // namespace

const DispTable& PolarityDispatchTable() {
    return kPolarityTable;
}
const DispTable& PolarityTypeLibTable() {
    return kPolarityLibraryTable;
}
const DispTable& PolarityEventTable() {
    return kPolarityEvents;
}

CPolCtrl::CPolCtrl() : CPictureSwitch(PolarityClass()) {
    InitializeIIDs(&kw::ids::IID_DPolarity, &kw::ids::IID_DPolarityEvents);
    // The size comes from the wide pictures, so they load first.
    m_narrowImages.Create(kNarrowBitmapId, kNarrowCellWidth, 0, RGB(255, 0, 255));
    m_wideImages.Create(kWideBitmapId, kWideCellWidth, 0, RGB(255, 0, 255));
    m_narrowCell = CellOf(m_narrowImages, CSize(kNarrowCellWidth, kNarrowCellHeight));
    m_wideCell = CellOf(m_wideImages, CSize(kWideCellWidth, kWideCellHeight));
    SetInitialSize(m_wideCell.cx, m_wideCell.cy + 1);
}

CPolCtrl::~CPolCtrl() = default;
