#pragma once
// The stock picture page: the objects' picture properties, a picture loaded
// from a file chosen in the file dialog (BMP, ICO and PNG), clearing, and a
// preview.
#include "platform/afx/PictureHolder.h"
#include "platform/afx/StockPropPage.h"

#include <optional>
#include <vector>

class CStockPicturePage : public CStockPropPage {
public:
    CStockPicturePage();

    // The persisted form of a picture file (Windows-1252 path), nothing
    // when the file is no picture the page can read.
    static std::optional<std::string> LoadPictureFile(const std::string& path);

protected:
    bool Accepts(const DispEntry& row, const VARIANT& value) const override;
    void ShowProperty(std::size_t index) override;
    bool ApplyChanges() override;
    BOOL OnItemCommand(int id, WORD code) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    struct Edit {
        bool read{false};
        std::string data; // the picture as shown, in its persisted form
        bool changed{false};
    };
    Edit& Current();
    void Set(std::string data);
    void Browse();

    std::vector<Edit> m_edits;
    CPictureHolder m_preview;
};
