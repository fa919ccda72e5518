#pragma once
// CSwitchCtrl: a two-state picture switch (coolant, optional stop). One
// strip of 16 x 17 pictures: off, on, disabled and the special state that
// right clicks toggle.
#include "buttons/PictureSwitch.h"

class CSwitchCtrl final : public CPictureSwitch {
public:
    CSwitchCtrl();
    ~CSwitchCtrl() override;

    static constexpr UINT kBitmapId = 142;
    static constexpr int kCellWidth = 16;
    static constexpr int kCellHeight = 17;

protected:
    CImageList& Images() override { return m_images; }
    CSize CellSize() const override { return m_cell; }

private:
    CImageList m_images;
    CSize m_cell;
};

// The Switch's interfaces, for its factory and the type library.
const DispTable& SwitchDispatchTable();
const DispTable& SwitchEventTable();
