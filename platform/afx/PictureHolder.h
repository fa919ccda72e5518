#pragma once
// A picture property: empty, a bitmap or an icon. It draws itself into a
// rectangle (a bitmap stretched to it), tells its size in HIMETRIC units
// (hundredths of a millimetre, at 96 pixels per inch) and persists as one
// string property: "" for none, "bitmap:" and the base64 of a BMP file, or
// "icon:" and the base64 of the image's and the mask's BMP files separated
// by a comma.
#include "platform/afx/CString.h"
#include "platform/afx/PropExchange.h"
#include "platform/com/Dispatch.h"
#include "platform/com/OleInterfaces.h"
#include "platform/gdi/AfxGdi.h"
#include "platform/user/Icon.h"

#include <optional>
#include <string>

constexpr short PICTYPE_UNINITIALIZED = -1;
constexpr short PICTYPE_NONE = 0;
constexpr short PICTYPE_BITMAP = 1;
constexpr short PICTYPE_METAFILE = 2;
constexpr short PICTYPE_ICON = 3;

using OLE_XSIZE_HIMETRIC = LONG;
using OLE_YSIZE_HIMETRIC = LONG;

class CPictureHolder {
public:
    CPictureHolder() = default;
    ~CPictureHolder() { Clear(); }
    CPictureHolder(const CPictureHolder&) = delete;
    CPictureHolder& operator=(const CPictureHolder&) = delete;

    BOOL CreateEmpty();
    // A bitmap resource, through the installed resource loader.
    BOOL CreateFromBitmap(UINT idResource);
    // With ownership passed, the holder deletes the bitmap; otherwise the
    // caller keeps it alive as long as the holder shows it.
    BOOL CreateFromBitmap(HBITMAP bitmap, BOOL transferOwnership = FALSE);
    BOOL CreateFromBitmap(CBitmap* bitmap, BOOL transferOwnership = TRUE);
    // With ownership passed, the holder destroys the icon.
    BOOL CreateFromIcon(HICON icon, BOOL transferOwnership = FALSE);

    short GetType() const { return m_type; }
    HBITMAP GetBitmap() const { return m_type == PICTYPE_BITMAP ? m_bitmap : nullptr; }
    HICON GetIcon() const { return m_type == PICTYPE_ICON ? m_icon : nullptr; }
    // The picture's size: in pixels, and in HIMETRIC units. Zero when empty.
    CSize GetPixelSize() const;
    BOOL GetHimetricExtent(OLE_XSIZE_HIMETRIC* cx, OLE_YSIZE_HIMETRIC* cy) const;
    BOOL GetDisplayString(CString& text) const;

    // Draws the whole picture stretched into rcRender; rcWBounds is for
    // metafiles and unused here.
    void Render(CDC* dc, const CRect& rcRender, const CRect& rcWBounds);

    // The persisted form, and back. FromString leaves the picture as it was
    // and answers false for text that is not a picture.
    std::string ToString() const;
    bool FromString(std::string_view text);

    // A picture object for a dispatch property: a snapshot of the picture
    // with the properties Type, Width and Height (HIMETRIC) and Data (the
    // persisted form), with a new reference.
    IDispatch* GetPictureDispatch() const;
    // Takes the picture of any object that answers Data as above; null
    // empties the picture. FALSE (picture unchanged) for other objects.
    BOOL SetPictureDispatch(IDispatch* picture);

private:
    void Clear();

    short m_type{PICTYPE_NONE};
    HBITMAP m_bitmap{nullptr};
    HICON m_icon{nullptr};
    bool m_owned{false};
};

// HIMETRIC units and pixels at 96 pixels per inch, rounded: one pair for
// the whole framework (OleInterfaces.h), so that a header may meet both.

// Without a default, a missing or unreadable value leaves the picture as it
// is; with one, the picture becomes a copy of the default then.
BOOL PX_Picture(CPropExchange* pPX, LPCTSTR name, CPictureHolder& picture);
BOOL PX_Picture(CPropExchange* pPX, LPCTSTR name, CPictureHolder& picture,
                const CPictureHolder& defaultValue);
