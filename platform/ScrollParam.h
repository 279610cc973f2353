#pragma once
// How a control's WM_HSCROLL / WM_VSCROLL carries its code and position.

#include "Types.h"

// wParam of a control's WM_HSCROLL / WM_VSCROLL: the code in the low word and the position
// above it as a 32-bit number (HIWORD gives its low 16 bits, as on Windows); lParam is the
// control's handle.
constexpr WPARAM MakeScrollParam(UINT code, int pos)
{
    return WPARAM(uint16_t(code)) | (WPARAM(uint32_t(pos)) << 16);
}
constexpr UINT GetScrollParamCode(WPARAM wParam)
{
    return LOWORD(wParam);
}
constexpr int GetScrollParamPos(WPARAM wParam)
{
    return int32_t(uint32_t(wParam >> 16));
}
