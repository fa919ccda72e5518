#pragma once
// The dialog templates and captions of the stock pages: the runtime's own
// resources, not a module's.
#include "platform/afx/ModuleResources.h"

namespace kw::afx {

constexpr UINT IDD_STOCK_FONT = 1;
constexpr UINT IDD_STOCK_COLOR = 2;
constexpr UINT IDD_STOCK_PICTURE = 3;
// Captions have the ids of their dialogs.

HMODULEINSTANCE StockPageResources();

} // namespace kw::afx
