#pragma once
// The stock colour page: the objects' colour properties, a palette of the
// sixteen standard colours, the system colours by name, and a sample.
#include "platform/afx/StockPropPage.h"

#include <vector>

class CStockColorPage : public CStockPropPage {
public:
    CStockColorPage();
    ~CStockColorPage() override;

    // The palette, in the order of its swatches, and the system colours'
    // names by index (COLOR_SCROLLBAR ... COLOR_INFOBK).
    static const std::vector<OLE_COLOR>& StandardColors();
    static const std::vector<const char*>& SystemColorNames();

protected:
    bool Accepts(const DispEntry& row, const VARIANT& value) const override;
    void ShowProperty(std::size_t index) override;
    bool ApplyChanges() override;
    BOOL OnItemCommand(int id, WORD code) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Edit {
        bool read{false};
        OLE_COLOR color{0};
        bool changed{false};
    };
    Edit& Current();
    void Choose(OLE_COLOR color);
    void Redraw();

    std::vector<Edit> m_edits;
    HBRUSH m_sampleBrush{nullptr};
};
