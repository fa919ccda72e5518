#include "platform/afx/StockPicturePage.h"

#include "platform/afx/FileDialog.h"
#include "platform/afx/StockPageResources.h"
#include "platform/afx/Wnd.h"
#include "platform/base/Windows1252.h"
#include "platform/com/Bstr.h"
#include "platform/com/Variant.h"
#include "platform/gdi/BmpReader.h"
#include "platform/gdi/Draw.h"
#include "platform/gdi/SysColors.h"
#include "platform/shell/ImageFiles.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr const char* kFilter = "Pictures (*.bmp;*.ico;*.png)|*.bmp;*.ico;*.png|"
                                "Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
                                "PNG Pictures (*.png)|*.png|All Files (*.*)|*.*||";

bool StartsWith(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> head) {
    return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

} // namespace

CStockPicturePage::CStockPicturePage()
    : CStockPropPage(kw::afx::IDD_STOCK_PICTURE, kw::afx::IDD_STOCK_PICTURE) {}

std::optional<std::string> CStockPicturePage::LoadPictureFile(const std::string& path) {
    const auto bytes = kw::shell::ReadWholeFile(AnsiToUtf8(path));
    if (!bytes)
        return std::nullopt;
    CPictureHolder picture;
    if (StartsWith(*bytes, {'B', 'M'})) {
        const HBITMAP bitmap = CreateBitmapFromBmp(*bytes);
        if (!bitmap || !picture.CreateFromBitmap(bitmap, TRUE))
            return std::nullopt;
    } else if (StartsWith(*bytes, {0, 0, 1, 0})) {
        // The largest image of the icon file.
        const auto images = kw::shell::ReadIcoImages(*bytes);
        const auto largest = std::max_element(
            images.begin(), images.end(), [](const auto& a, const auto& b) {
                return long(a.width) * a.height < long(b.width) * b.height;
            });
        const HICON icon =
            largest == images.end() ? nullptr : kw::shell::CreateIconFromImage(*largest);
        if (!icon || !picture.CreateFromIcon(icon, TRUE))
            return std::nullopt;
    } else if (StartsWith(*bytes, {0x89, 'P', 'N', 'G'})) {
        const auto image = kw::shell::ReadPngImage(*bytes);
        const HBITMAP bitmap = image ? kw::shell::CreateBitmapFromRgba(*image) : nullptr;
        if (!bitmap || !picture.CreateFromBitmap(bitmap, TRUE))
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    return picture.ToString();
}

bool CStockPicturePage::Accepts(const DispEntry& row, const VARIANT& value) const {
    return row.type == VT_DISPATCH && value.vt == VT_DISPATCH && value.pdispVal &&
           kw::afx::HasMember(value.pdispVal, "Data") &&
           kw::afx::HasMember(value.pdispVal, "Type") && !kw::afx::HasMember(value.pdispVal, "Name");
}

CStockPicturePage::Edit& CStockPicturePage::Current() {
    m_edits.resize(Properties().size());
    return m_edits[std::min(CStockPropPage::Current(), m_edits.size() - 1)];
}

void CStockPicturePage::ShowProperty(std::size_t index) {
    m_edits.resize(Properties().size());
    Edit& edit = m_edits[index];
    if (!edit.read) {
        VARIANT v;
        VariantInit(&v);
        if (ReadFirst(Properties()[index], &v) && v.vt == VT_DISPATCH && v.pdispVal) {
            VARIANT data;
            VariantInit(&data);
            if (kw::afx::GetPropertyByName(v.pdispVal, "Data", &data) && data.vt == VT_BSTR)
                edit.data = AnsiFromBstr(data.bstrVal);
            VariantClear(&data);
        }
        VariantClear(&v);
        edit.read = true;
    }
    if (edit.data.empty() || !m_preview.FromString(edit.data))
        m_preview.CreateEmpty();
    EnableWindow(GetDlgItem(IDC_PICTURE_CLEAR), !edit.data.empty());
    InvalidateRect(GetDlgItem(IDC_STOCK_SAMPLE), nullptr, TRUE);
}

void CStockPicturePage::Set(std::string data) {
    Edit& edit = Current();
    edit.data = std::move(data);
    edit.changed = true;
    Changed();
    ShowProperty(CStockPropPage::Current());
}

void CStockPicturePage::Browse() {
    CWnd* owner = CWnd::FromHandle(m_hWnd);
    CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, kFilter,
                       owner);
    if (dialog.DoModal() != IDOK)
        return;
    const std::string path = dialog.GetPathName().Str();
    if (auto data = LoadPictureFile(path)) {
        Set(std::move(*data));
        return;
    }
    const std::string text = path + "\nThis file holds no picture the page can load "
                                    "(BMP, ICO or PNG).";
    Refuse(IDC_PICTURE_BROWSE, text.c_str());
}

BOOL CStockPicturePage::OnItemCommand(int id, WORD code) {
    if (code != BN_CLICKED)
        return FALSE;
    if (id == IDC_PICTURE_BROWSE) {
        Browse();
        return TRUE;
    }
    if (id == IDC_PICTURE_CLEAR) {
        Set(std::string());
        SetFocus(GetDlgItem(IDC_PICTURE_BROWSE));
        return TRUE;
    }
    return FALSE;
}

bool CStockPicturePage::ApplyChanges() {
    const auto objects = Objects();
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        if (!m_edits[i].changed)
            continue;
        CPictureHolder picture;
        if (m_edits[i].data.empty() || !picture.FromString(m_edits[i].data))
            picture.CreateEmpty();
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_DISPATCH;
        v.pdispVal = picture.GetPictureDispatch();
        for (IDispatch* object : objects)
            kw::afx::PutPropertyByName(object, Properties()[i].c_str(), v);
        VariantClear(&v);
        m_edits[i].changed = false;
    }
    return true;
}

LRESULT CStockPicturePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlID == UINT(IDC_STOCK_SAMPLE)) {
            const RECT area = dis->rcItem;
            FillRect(dis->hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
            const CSize size = m_preview.GetPixelSize();
            if (size.cx > 0 && size.cy > 0) {
                // The whole picture in the middle, its proportions kept:
                // shrunk to fit, or a small one enlarged by a whole factor so
                // that its pixels stay sharp.
                const int width = area.right - area.left, height = area.bottom - area.top;
                double scale = std::min(double(width) / size.cx, double(height) / size.cy);
                if (scale > 1)
                    scale = std::floor(scale);
                const int w = std::max(1, int(size.cx * scale));
                const int h = std::max(1, int(size.cy * scale));
                const CRect target(area.left + (width - w) / 2, area.top + (height - h) / 2,
                                   area.left + (width - w) / 2 + w, area.top + (height - h) / 2 + h);
                m_preview.Render(CDC::FromHandle(dis->hDC), target, target);
            }
            return TRUE;
        }
    }
    return CStockPropPage::WindowProc(message, wParam, lParam);
}
