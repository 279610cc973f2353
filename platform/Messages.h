#pragma once
// The program's private window messages, their codes and how the two parameters carry them.
// wParam is the sender's control id (0 from the application object); where lParam carries
// a code, its low word is the code and its high word a 16-bit value. The messages say only
// what changed: the receivers read the project's settings record or the drawing-object
// manager again. Broadcasts go to every descendant of the sending window, never back to the
// sender, never to owned tool windows; a receiver ignores a message carrying its own id.

#include "Types.h"

#include <cstring>

enum : UINT {
    WM_EDIT_ENTER = WM_APP + 1,    // wParam 13, lParam 0: Enter in an inner edit box
    WM_EDIT_RESYNC = WM_APP + 2,   // 0, 0: the inner edit box lost the focus
    WM_CURSOR_MOVED = WM_APP + 3,  // low word: the data view where it began; high word 1 set, 0 hover
    WM_VALUE_CHANGED = WM_APP + 4, // the new value, or 0 when the receiver reads the sender
    WM_LAYOUT_CHANGED = WM_APP + 6, // code 1: apply the configured pane layout again
    WM_DATA_CHANGED = WM_APP + 7,  // a TDataChange code with its value
    WM_TOOL_CLOSED = WM_APP + 8,   // posted by a modeless tool window after its window is gone
    WM_DRAWING_EVENT = WM_APP + 9, // a TDrawingEvent code with its argument
};

// WM_DATA_CHANGED codes; the value in the high word where there is one.
enum TDataChange : WORD {
    DATA_PROJECT_BOUND = 0,
    DATA_CONTRAST = 1,       // new contrast
    DATA_TIME_GAIN = 2,      // new time gain, or 0 for a display-only filter change
    DATA_THICKNESS = 3,      // new slice thickness
    DATA_ANGLE = 4,          // new angle
    DATA_THRESHOLD = 5,      // new threshold
    DATA_RECOMPUTED = 6,     // data recomputed, or redraw everything
    DATA_VELOCITY = 7,       // new velocity
    DATA_EM_OVERLAY = 9,
    DATA_UNITS = 10,
    DATA_ZERO_LEVEL = 11,
    DATA_LAST_CODE = DATA_ZERO_LEVEL, // codes above are ignored
};

// WM_DRAWING_EVENT codes; the argument in the high word.
enum TDrawingEvent : WORD {
    DRAW_SELECTION = 1,       // selected index, DRAW_NO_OBJECT for none
    DRAW_REDRAW = 2,
    DRAW_ADDED = 3,           // its index
    DRAW_REMOVED = 4,         // its index, DRAW_NO_OBJECT when all were removed
    DRAW_CHANGED = 5,         // its index
    DRAW_REDRAW_STYLE = 6,
    DRAW_TOOL_CHANGED = 8,    // the previous tool
    DRAW_CREATION = 9,        // 1 started, 0 ended
    DRAW_MODE_ON = 10,
    DRAW_MODE_OFF = 11,
    DRAW_VISIBILITY = 12,
};
constexpr WORD DRAW_NO_OBJECT = 0xFFFF;

// WM_LAYOUT_CHANGED's one code.
constexpr WORD LAYOUT_APPLY = 1;

// Control ids that send the messages.
enum : int {
    ID_SENDER_APPLICATION = 0,
    ID_SENDER_CONTRAST = 106,
    ID_SENDER_TIME_GAIN = 136,
    ID_SENDER_TRACE_VIEW = 108,
    ID_SENDER_VELOCITY = 110,
    ID_SENDER_BKGR_REMOVAL = 145,
    ID_SENDER_DRAW_TOOL = 156,       // the drawing tool window as the main frame creates it
    ID_SENDER_DRAW_TOOL_DLG = 168,   // its own template id, in its drawing events
    ID_SENDER_OBJECT_LIST = 170,
    ID_SENDER_PAINTER = 172,
    ID_SENDER_EDIT_COMMANDS = 209,   // the application's cut, copy and paste
    ID_SENDER_Y_SECTION = 133,
    ID_SENDER_X_SECTION = 134,
    ID_SENDER_DEPTH_SLICE = 135,
    ID_SENDER_EDIT_X = 304,
    ID_SENDER_EDIT_DEPTH = 305,
    ID_SENDER_EDIT_Y = 306,
    ID_SENDER_ANGLE = 307,
    ID_SENDER_THICKNESS = 309,
    ID_SENDER_THRESHOLD = 311,
};

// lParam = (value << 16) | code, both as 16-bit patterns (a negative value is defined).
constexpr LPARAM MakeCodeParam(WORD code, int value)
{
    return MAKELPARAM(code, value);
}
constexpr WORD GetCode(LPARAM lParam)
{
    return LOWORD(uint64_t(lParam));
}
constexpr WORD GetCodeValue(LPARAM lParam)
{
    return HIWORD(uint64_t(lParam));
}
// The value read back as the signed 16-bit number it was packed from.
constexpr int GetSignedCodeValue(LPARAM lParam)
{
    return int16_t(HIWORD(uint64_t(lParam)));
}

// WM_CURSOR_MOVED: the data view where it began and whether the cross-hair was set.
constexpr LPARAM MakeCursorParam(int originId, bool bSet)
{
    return MAKELPARAM(originId, bSet ? 1 : 0);
}
constexpr bool IsCursorSet(LPARAM lParam)
{
    return HIWORD(uint64_t(lParam)) == 1;
}

// A float value travels in the low 32 bits of lParam.
inline LPARAM FloatToParam(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return LPARAM(bits);
}
inline float ParamToFloat(LPARAM lParam)
{
    const uint32_t bits = uint32_t(uint64_t(lParam));
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
