#pragma once
// The ControlPointer property: a host or a property page in the same process
// reads a 32-bit value that leads back to the control object. Pointers are
// wider than that here, so the value is a token: unique in the process, the
// same for one object as long as it lives, never a truncated address.
#include "platform/com/DispatchTable.h"

class COleControl;

// The control's token, made on first use.
LONG AfxControlPointerOf(const COleControl* control);
// The live control behind a token; null for a token of a control that is
// gone, or one never handed out.
COleControl* AfxControlFromPointer(LONG token);
// Forgets the control's token (its destructor calls it).
void AfxReleaseControlPointer(const COleControl* control);

// A read-only long property yielding the token; writing it fails with
// CTL_E_SETNOTSUPPORTED and changes nothing.
DispEntry DispControlPointer(const char* name, DISPID dispid, const char* typeLibName = nullptr);
