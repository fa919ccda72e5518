#pragma once
// The parent's background under a child: a child that leaves pixels
// unpainted (a transparent picture) has its parent erase and print its client
// area into the child's device context first, as the theme service
// DrawThemeParentBackground does.
#include "platform/base/HResult.h"
#include "platform/user/UserTypes.h"

// Sends WM_ERASEBKGND and WM_PRINTCLIENT (PRF_CLIENT) to the parent of
// `hwnd` with `hdc` moved so that the parent draws at its own coordinates;
// `rc` (child coordinates, null: all) limits the drawing. The device
// context's state is restored afterwards. E_INVALIDARG without a parent or a
// device context.
HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* rc);
