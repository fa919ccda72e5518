#pragma once
// System colours of the platform's classic scheme.
#include "platform/gdi/GdiTypes.h"

// 0 for an index the scheme does not have.
DWORD GetSysColor(int index);
// A brush of that colour, owned by the system: DeleteObject leaves it alone.
// Null for an unknown index.
HBRUSH GetSysColorBrush(int index);
