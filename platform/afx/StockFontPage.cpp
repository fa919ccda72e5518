#include "platform/afx/StockFontPage.h"

#include "platform/afx/StockPageResources.h"
#include "platform/base/Windows1252.h"
#include "platform/com/Bstr.h"
#include "platform/com/Variant.h"
#include "platform/gdi/FontFace.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/user/SystemControls.h"
#include "platform/user/User.h"
#include "platform/user/Window.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <strings.h>

namespace {

// The platform's face names that stand for installed families.
constexpr const char* kPlatformFaces[] = {"Arial", "Courier New", "MS Sans Serif", "MS Shell Dlg",
                                          "Times New Roman"};

constexpr double kMinSize = 1;
constexpr double kMaxSize = 2048;

// A size as typed: a number in the C locale, blanks around allowed.
bool ParseSize(const std::string& text, double* size) {
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = std::strtod(begin, &end);
    if (end == begin)
        return false;
    while (*end == ' ' || *end == '\t')
        ++end;
    if (*end || !std::isfinite(value))
        return false;
    *size = value;
    return true;
}

std::string SizeText(double size) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", size);
    return text;
}

bool Flag(IDispatch* font, const char* name) {
    VARIANT v;
    VariantInit(&v);
    const bool on = kw::afx::GetPropertyByName(font, name, &v) && v.vt == VT_BOOL && v.boolVal;
    VariantClear(&v);
    return on;
}

// The font object of a property; null when the object has none.
ComPtr<IDispatch> FontObject(IDispatch* object, const std::string& property) {
    VARIANT v;
    VariantInit(&v);
    ComPtr<IDispatch> font;
    if (kw::afx::GetPropertyByName(object, property.c_str(), &v) && v.vt == VT_DISPATCH)
        font = ComPtr<IDispatch>(v.pdispVal);
    VariantClear(&v);
    return font;
}

bool PutBool(IDispatch* font, const char* name, bool on) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_BOOL;
    v.boolVal = on ? VARIANT_TRUE : VARIANT_FALSE;
    return kw::afx::PutPropertyByName(font, name, v);
}

} // namespace

CStockFontPage::CStockFontPage() : CStockPropPage(kw::afx::IDD_STOCK_FONT, kw::afx::IDD_STOCK_FONT) {}

CStockFontPage::~CStockFontPage() {
    if (m_sampleFont)
        DeleteObject(m_sampleFont);
}

std::vector<std::string> CStockFontPage::FaceNames() {
    std::vector<std::string> faces(std::begin(kPlatformFaces), std::end(kPlatformFaces));
    for (const std::string& family : gdi::FontFace::InstalledFamilies()) {
        const std::string ansi = Utf8ToAnsi(family);
        if (AnsiToUtf8(ansi) == family)
            faces.push_back(ansi);
    }
    std::sort(faces.begin(), faces.end(), [](const std::string& a, const std::string& b) {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    });
    faces.erase(std::unique(faces.begin(), faces.end(),
                            [](const std::string& a, const std::string& b) {
                                return strcasecmp(a.c_str(), b.c_str()) == 0;
                            }),
                faces.end());
    return faces;
}

bool CStockFontPage::Accepts(const DispEntry& row, const VARIANT& value) const {
    return row.type == VT_DISPATCH && value.vt == VT_DISPATCH && value.pdispVal &&
           kw::afx::HasMember(value.pdispVal, "Name") && kw::afx::HasMember(value.pdispVal, "Size") &&
           kw::afx::HasMember(value.pdispVal, "Bold");
}

CStockFontPage::Edit& CStockFontPage::Current() {
    m_edits.resize(Properties().size());
    return m_edits[std::min(CStockPropPage::Current(), m_edits.size() - 1)];
}

void CStockFontPage::ShowProperty(std::size_t index) {
    m_edits.resize(Properties().size());
    Edit& edit = m_edits[index];
    if (!edit.read) {
        const auto objects = Objects();
        if (ComPtr<IDispatch> font = FontObject(objects.front(), Properties()[index])) {
            VARIANT v;
            VariantInit(&v);
            if (kw::afx::GetPropertyByName(font.Get(), "Name", &v) && v.vt == VT_BSTR)
                edit.shown.name = AnsiFromBstr(v.bstrVal);
            VariantClear(&v);
            if (kw::afx::GetPropertyByName(font.Get(), "Size", &v) &&
                SUCCEEDED(VariantChangeType(&v, &v, 0, VT_R8)))
                edit.shown.size = v.dblVal;
            VariantClear(&v);
            edit.shown.weight = Flag(font.Get(), "Bold") ? FW_BOLD : FW_NORMAL;
            edit.shown.italic = Flag(font.Get(), "Italic");
            edit.shown.underline = Flag(font.Get(), "Underline");
            edit.shown.strikethrough = Flag(font.Get(), "Strikethrough");
        }
        edit.edited = edit.shown;
        edit.sizeText = SizeText(edit.shown.size);
        edit.read = true;
    }

    FillScope filling(*this);
    const HWND faces = GetDlgItem(IDC_FONT_FACE);
    if (SendMessageA(faces, LB_GETCOUNT, 0, 0) == 0)
        for (const std::string& face : FaceNames())
            SendMessageA(faces, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(face.c_str()));
    LRESULT at = SendMessageA(faces, LB_FINDSTRINGEXACT, WPARAM(-1),
                              reinterpret_cast<LPARAM>(edit.edited.name.c_str()));
    if (at == LB_ERR && !edit.edited.name.empty()) {
        // A face that is not installed still shows as the property's.
        at = SendMessageA(faces, LB_INSERTSTRING, 0,
                          reinterpret_cast<LPARAM>(edit.edited.name.c_str()));
    }
    SendMessageA(faces, LB_SETCURSEL, WPARAM(at), 0);
    SetWindowTextA(GetDlgItem(IDC_FONT_SIZE), edit.sizeText.c_str());
    auto check = [this](int id, bool on) {
        SendMessageA(GetDlgItem(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    };
    check(IDC_FONT_BOLD, edit.edited.weight >= FW_BOLD);
    check(IDC_FONT_ITALIC, edit.edited.italic);
    check(IDC_FONT_UNDERLINE, edit.edited.underline);
    check(IDC_FONT_STRIKEOUT, edit.edited.strikethrough);
    ShowSample();
}

void CStockFontPage::ShowSample() {
    const Edit& edit = Current();
    LOGFONTA lf{};
    lf.lfHeight = -LONG(std::lround(std::clamp(edit.edited.size, kMinSize, 96.0) * 96 / 72));
    lf.lfWeight = edit.edited.weight;
    lf.lfItalic = edit.edited.italic;
    lf.lfUnderline = edit.edited.underline;
    lf.lfStrikeOut = edit.edited.strikethrough;
    lf.lfCharSet = BYTE(edit.edited.charset);
    std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", edit.edited.name.c_str());
    const HFONT font = CreateFontIndirectA(&lf);
    SendMessageA(GetDlgItem(IDC_STOCK_SAMPLE), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (m_sampleFont)
        DeleteObject(m_sampleFont);
    m_sampleFont = font;
}

BOOL CStockFontPage::OnItemCommand(int id, WORD code) {
    Edit& edit = Current();
    switch (id) {
    case IDC_FONT_FACE: {
        if (code != LBN_SELCHANGE)
            return FALSE;
        const HWND faces = GetDlgItem(IDC_FONT_FACE);
        const LRESULT sel = SendMessageA(faces, LB_GETCURSEL, 0, 0);
        char name[LF_FACESIZE * 4]{};
        if (sel < 0 || SendMessageA(faces, LB_GETTEXTLEN, WPARAM(sel), 0) >= LRESULT(sizeof name))
            return TRUE;
        SendMessageA(faces, LB_GETTEXT, WPARAM(sel), reinterpret_cast<LPARAM>(name));
        edit.edited.name = name;
        edit.face = true;
        break;
    }
    case IDC_FONT_SIZE: {
        if (code != EN_CHANGE)
            return FALSE;
        char text[64]{};
        GetWindowTextA(GetDlgItem(IDC_FONT_SIZE), text, int(sizeof text));
        edit.sizeText = text;
        double size = 0;
        if (ParseSize(text, &size) && size >= kMinSize && size <= kMaxSize)
            edit.edited.size = size;
        edit.size = true;
        break;
    }
    case IDC_FONT_BOLD:
    case IDC_FONT_ITALIC:
    case IDC_FONT_UNDERLINE:
    case IDC_FONT_STRIKEOUT: {
        if (code != BN_CLICKED)
            return FALSE;
        const bool on = SendMessageA(GetDlgItem(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (id == IDC_FONT_BOLD) {
            edit.edited.weight = on ? FW_BOLD : FW_NORMAL;
            edit.bold = true;
        } else if (id == IDC_FONT_ITALIC) {
            edit.edited.italic = on;
            edit.italic = true;
        } else if (id == IDC_FONT_UNDERLINE) {
            edit.edited.underline = on;
            edit.underline = true;
        } else {
            edit.edited.strikethrough = on;
            edit.strike = true;
        }
        break;
    }
    default:
        return FALSE;
    }
    Changed();
    ShowSample();
    return TRUE;
}

bool CStockFontPage::ApplyChanges() {
    // Every size is checked before anything is written.
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        double size = 0;
        if (m_edits[i].size && (!ParseSize(m_edits[i].sizeText, &size) || size < kMinSize ||
                                size > kMaxSize)) {
            if (i != CStockPropPage::Current()) {
                SendMessageA(GetDlgItem(IDC_STOCK_PROPERTY), CB_SETCURSEL, WPARAM(i), 0);
                SendMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_STOCK_PROPERTY, CBN_SELCHANGE),
                             reinterpret_cast<LPARAM>(GetDlgItem(IDC_STOCK_PROPERTY)));
            }
            Refuse(IDC_FONT_SIZE, "Please enter a size between 1 and 2048.");
            return false;
        }
    }
    const auto objects = Objects();
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        Edit& edit = m_edits[i];
        if (!edit.Any())
            continue;
        for (IDispatch* object : objects) {
            ComPtr<IDispatch> font = FontObject(object, Properties()[i]);
            if (!font)
                continue;
            VARIANT v;
            VariantInit(&v);
            if (edit.face) {
                v.vt = VT_BSTR;
                v.bstrVal = BstrFromAnsi(edit.edited.name);
                kw::afx::PutPropertyByName(font.Get(), "Name", v);
                VariantClear(&v);
            }
            if (edit.size) {
                v.vt = VT_R8;
                v.dblVal = edit.edited.size;
                kw::afx::PutPropertyByName(font.Get(), "Size", v);
            }
            if (edit.bold)
                PutBool(font.Get(), "Bold", edit.edited.weight >= FW_BOLD);
            if (edit.italic)
                PutBool(font.Get(), "Italic", edit.edited.italic);
            if (edit.underline)
                PutBool(font.Get(), "Underline", edit.edited.underline);
            if (edit.strike)
                PutBool(font.Get(), "Strikethrough", edit.edited.strikethrough);
        }
        edit.shown = edit.edited;
        edit.face = edit.size = edit.bold = edit.italic = edit.underline = edit.strike = false;
    }
    return true;
}
