#pragma once
// The value types and constants of the windowing layer: message parameters (64 bits wide
// here), colours as 0x00BBGGRR, points, sizes and rectangles with the GDI edge convention
// (right and bottom lie outside), the window messages, key codes and dialog results that the
// program's windows use.

#include <algorithm>
#include <cstdint>
#include <string>

using UINT = unsigned int;
using WORD = uint16_t;
using DWORD = uint32_t;
using BYTE = uint8_t;
using LONG = int32_t;
using BOOL = int;
using WPARAM = uint64_t;
using LPARAM = int64_t;
using LRESULT = int64_t;
using INT_PTR = int64_t;
using COLORREF = uint32_t; // 0x00BBGGRR

// A window's identity for queued messages: never reused, never dereferenced.
using HWND = struct HWND__*;

constexpr COLORREF RGB(int r, int g, int b)
{
    return COLORREF(uint8_t(r)) | (COLORREF(uint8_t(g)) << 8) | (COLORREF(uint8_t(b)) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE(c >> 8); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE(c >> 16); }

// Parameters pack two 16-bit halves; a negative value travels as its uint16 pattern.
constexpr WORD LOWORD(uint64_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(uint64_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int low, int high)
{
    return LPARAM((uint32_t(uint16_t(low))) | (uint32_t(uint16_t(high)) << 16));
}
constexpr WPARAM MAKEWPARAM(int low, int high) { return WPARAM(uint32_t(MAKELPARAM(low, high))); }
constexpr int GET_X_LPARAM(LPARAM lp) { return int16_t(LOWORD(uint64_t(lp))); }
constexpr int GET_Y_LPARAM(LPARAM lp) { return int16_t(HIWORD(uint64_t(lp))); }

struct CSize
{
    constexpr CSize() = default;
    constexpr CSize(int x, int y) : cx(x), cy(y) {}
    bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
    bool operator!=(const CSize& o) const { return !(*this == o); }
    int cx = 0;
    int cy = 0;
};

struct CPoint
{
    constexpr CPoint() = default;
    constexpr CPoint(int px, int py) : x(px), y(py) {}
    bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const CPoint& o) const { return !(*this == o); }
    CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
    CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
    int x = 0;
    int y = 0;
};

// Left and top inside, right and bottom outside.
struct CRect
{
    constexpr CRect() = default;
    constexpr CRect(int l, int t, int r, int b) : left(l), top(t), right(r), bottom(b) {}
    constexpr CRect(const CPoint& p, const CSize& s) : left(p.x), top(p.y), right(p.x + s.cx), bottom(p.y + s.cy) {}
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return {Width(), Height()}; }
    CPoint TopLeft() const { return {left, top}; }
    CPoint BottomRight() const { return {right, bottom}; }
    CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
    bool IsRectEmpty() const { return right <= left || bottom <= top; }
    bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
    bool PtInRect(const CPoint& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    void SetRect(int l, int t, int r, int b) { left = l; top = t; right = r; bottom = b; }
    void SetRectEmpty() { SetRect(0, 0, 0, 0); }
    void OffsetRect(int dx, int dy) { left += dx; right += dx; top += dy; bottom += dy; }
    void DeflateRect(int dx, int dy) { left += dx; right -= dx; top += dy; bottom -= dy; }
    void InflateRect(int dx, int dy) { DeflateRect(-dx, -dy); }
    // The overlap of the two; all zero, and false, when they do not overlap.
    bool IntersectRect(const CRect* pA, const CRect* pB)
    {
        const CRect overlap(std::max(pA->left, pB->left), std::max(pA->top, pB->top),
                            std::min(pA->right, pB->right), std::min(pA->bottom, pB->bottom));
        *this = overlap.IsRectEmpty() ? CRect() : overlap;
        return !IsRectEmpty();
    }
    // The smallest rectangle holding both; an empty one adds nothing, and two empty ones give
    // all zero and false.
    bool UnionRect(const CRect* pA, const CRect* pB)
    {
        if (pA->IsRectEmpty() || pB->IsRectEmpty()) {
            const CRect* pFilled = pA->IsRectEmpty() ? pB : pA;
            *this = pFilled->IsRectEmpty() ? CRect() : *pFilled;
        } else {
            *this = CRect(std::min(pA->left, pB->left), std::min(pA->top, pB->top),
                          std::max(pA->right, pB->right), std::max(pA->bottom, pB->bottom));
        }
        return !IsRectEmpty();
    }
    bool operator==(const CRect& o) const
    {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
    bool operator!=(const CRect& o) const { return !(*this == o); }
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};
using LPRECT = CRect*;
using LPCRECT = const CRect*;

inline bool UnionRect(LPRECT pDst, LPCRECT pA, LPCRECT pB)
{
    return pDst->UnionRect(pA, pB);
}

struct MINMAXINFO
{
    CPoint ptReserved;
    CPoint ptMaxSize;
    CPoint ptMaxPosition;
    CPoint ptMinTrackSize;
    CPoint ptMaxTrackSize;
};

constexpr int CW_USEDEFAULT = int(0x80000000);

// What a window is given before it is created; PreCreateWindow may change it.
struct CREATESTRUCT
{
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int cx = CW_USEDEFAULT;
    int cy = CW_USEDEFAULT;
    DWORD style = 0;
    std::wstring lpszName;
};
using LPCREATESTRUCT = CREATESTRUCT*;

// Window styles that the layer looks at.
enum : DWORD {
    WS_OVERLAPPED = 0x00000000,
    WS_POPUP = 0x80000000,
    WS_CHILD = 0x40000000,
    WS_VISIBLE = 0x10000000,
    WS_DISABLED = 0x08000000,
    WS_BORDER = 0x00800000,
    WS_CAPTION = 0x00C00000,
    WS_SYSMENU = 0x00080000,
    WS_THICKFRAME = 0x00040000,
    WS_TABSTOP = 0x00010000,
    WS_GROUP = 0x00020000,
    WS_MINIMIZEBOX = 0x00020000,
    WS_MAXIMIZEBOX = 0x00010000,
    WS_OVERLAPPEDWINDOW = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX,
};

// Window messages.
enum : UINT {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_MOVE = 0x0003,
    WM_SIZE = 0x0005,
    WM_ACTIVATE = 0x0006, // wParam WA_ACTIVE or WA_INACTIVE: a top-level window gains or loses activation
    WM_SETFOCUS = 0x0007,
    WM_KILLFOCUS = 0x0008,
    WM_ENABLE = 0x000A,
    WM_SETTEXT = 0x000C,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_ERASEBKGND = 0x0014,
    WM_SHOWWINDOW = 0x0018,
    WM_GETMINMAXINFO = 0x0024,
    WM_NOTIFY = 0x004E, // wParam the control's id, lParam its NMHDR
    WM_SETFONT = 0x0030,
    WM_GETDLGCODE = 0x0087, // what keys a control keeps from its dialog (DLGC_ flags)
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_INITDIALOG = 0x0110,
    WM_COMMAND = 0x0111,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_INITMENUPOPUP = 0x0117, // wParam: the QMenu about to open
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_RBUTTONDBLCLK = 0x0206,
    WM_MBUTTONDOWN = 0x0207,
    WM_MBUTTONUP = 0x0208,
    WM_MOUSEWHEEL = 0x020A,
    WM_MOUSELEAVE = 0x02A3,
    WM_IDLEUPDATECMDUI = 0x0363, // the framework's: bring the bars up to date from the update handlers
    WM_INITIALUPDATE = 0x0364, // the framework's: the view's document is ready
    WM_APP = 0x8000,
};
enum : UINT { WA_INACTIVE = 0, WA_ACTIVE = 1 };

// The head of every WM_NOTIFY of a common control; the control's own record follows it.
struct NMHDR
{
    HWND hwndFrom = nullptr;
    UINT idFrom = 0;
    UINT code = 0; // negative codes travel as their UINT pattern
};

// Size types of WM_SIZE.
enum : UINT { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Mouse key flags.
enum : UINT { MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08, MK_MBUTTON = 0x10 };
constexpr int WHEEL_DELTA = 120;

// Virtual keys; letters and digits are their upper-case character codes.
enum : UINT {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
    VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_PRIOR = 0x21, VK_NEXT = 0x22,
    VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26, VK_RIGHT = 0x27, VK_DOWN = 0x28,
    VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F12 = 0x7B,
};

// ShowWindow commands.
enum : int { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3, SW_SHOW = 5,
             SW_MINIMIZE = 6, SW_SHOWNA = 8, SW_RESTORE = 9 };

// Dialog and message-box results; the standard button ids.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

// Message-box types: buttons in the low nibble, icon in the next.
enum : UINT {
    MB_OK = 0x0, MB_OKCANCEL = 0x1, MB_YESNOCANCEL = 0x3, MB_YESNO = 0x4,
    MB_ICONHAND = 0x10, MB_ICONERROR = MB_ICONHAND, MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = MB_ICONEXCLAMATION, MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = MB_ICONASTERISK,
    MB_TYPEMASK = 0xF, MB_ICONMASK = 0xF0,
};

// Button notification of WM_COMMAND.
enum : UINT { BN_CLICKED = 0 };

// The framework's standard command ids.
enum : UINT {
    ID_FILE_NEW = 0xE100,
    ID_FILE_OPEN = 0xE101,
    ID_FILE_SAVE = 0xE103,
    ID_FILE_SAVE_AS = 0xE104,
    ID_FILE_PRINT_SETUP = 0xE106,
    ID_FILE_PRINT = 0xE107,
    ID_FILE_PRINT_PREVIEW = 0xE109,
    ID_FILE_MRU_FILE1 = 0xE110,
    ID_FILE_MRU_FILE16 = 0xE11F,
    ID_EDIT_COPY = 0xE122,
    ID_EDIT_CUT = 0xE123,
    ID_EDIT_PASTE = 0xE125,
    ID_EDIT_UNDO = 0xE12B,
    ID_NEXT_PANE = 0xE150,
    ID_PREV_PANE = 0xE151,
    ID_APP_ABOUT = 0xE140,
    ID_APP_EXIT = 0xE141,
    ID_VIEW_TOOLBAR = 0xE800,
    ID_VIEW_STATUS_BAR = 0xE801,
    AFX_IDW_PANE_FIRST = 0xE900, // the frame's view
    AFX_IDW_FRAME = 0xEF00,      // the id a frame reports for itself
};

// The system button-face colour.
constexpr COLORREF COLOR_BTNFACE_VALUE = 0xF0F0F0;
