#pragma once
// The stock font page: the objects' font properties, a face list from the
// installed families, size, bold, italic, underline, strike-out and a sample
// in the font as edited.
#include "platform/afx/FontHolder.h"
#include "platform/afx/StockPropPage.h"

#include <vector>

class CStockFontPage : public CStockPropPage {
public:
    CStockFontPage();
    ~CStockFontPage() override;

    // The faces the page offers: the installed families and the platform's
    // face names, sorted, letter case ignored.
    static std::vector<std::string> FaceNames();

protected:
    bool Accepts(const DispEntry& row, const VARIANT& value) const override;
    void ShowProperty(std::size_t index) override;
    bool ApplyChanges() override;
    BOOL OnItemCommand(int id, WORD code) override;

private:
    // One property's font as shown, and what the user changed of it.
    struct Edit {
        bool read{false};
        FontDescription shown;
        FontDescription edited;
        std::string sizeText;
        bool face{false}, size{false}, bold{false}, italic{false}, underline{false},
            strike{false};
        bool Any() const { return face || size || bold || italic || underline || strike; }
    };
    Edit& Current();
    void ShowSample();

    std::vector<Edit> m_edits;
    HFONT m_sampleFont{nullptr};
};
