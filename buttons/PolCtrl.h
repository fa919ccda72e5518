#pragma once
// CPolCtrl: the Polarity switch, the polarity of a signal. A wide strip
// (32 x 13: L or H beside a level trace and ON) or, with bit 4 of the state
// word, a narrow upright one (16 x 33). Hosts and its property page reach
// the object through ControlPointer.
#include "buttons/PictureSwitch.h"

class CPolCtrl final : public CPictureSwitch {
public:
    CPolCtrl();
    ~CPolCtrl() override;

    static constexpr UINT kNarrowBitmapId = 209;
    static constexpr UINT kWideBitmapId = 229;
    static constexpr int kNarrowCellWidth = 16;
    static constexpr int kNarrowCellHeight = 33;
    static constexpr int kWideCellWidth = 32;
    static constexpr int kWideCellHeight = 13;

    bool Narrow() const { return (m_mode & kSwitchNarrow) != 0; }

protected:
    CImageList& Images() override { return Narrow() ? m_narrowImages : m_wideImages; }
    CSize CellSize() const override { return Narrow() ? m_narrowCell : m_wideCell; }

private:
    CImageList m_narrowImages;
    CImageList m_wideImages;
    CSize m_narrowCell;
    CSize m_wideCell;
};

// The Polarity's interfaces: the dispatch table it answers to, the rows the
// type library lists (without ControlPointer), and its events.
const DispTable& PolarityDispatchTable();
const DispTable& PolarityTypeLibTable();
const DispTable& PolarityEventTable();
