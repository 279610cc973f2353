#pragma once
// A shown top-level window that records the private messages its child controls and views
// send or post to it, for the tests of the reusable controls and the data views.

#include "Messages.h"
#include "Wnd.h"

#include <vector>

struct CRecordedMessage
{
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class CRecordingWnd : public CWnd
{
public:
    CRecordingWnd()
    {
        for (UINT message : {UINT(WM_VALUE_CHANGED), UINT(WM_TOOL_CLOSED), UINT(WM_EDIT_ENTER), UINT(WM_EDIT_RESYNC),
                             UINT(WM_CURSOR_MOVED), UINT(WM_DRAWING_EVENT)})
            MapMessage(message, [this, message](WPARAM wParam, LPARAM lParam) {
                m_messages.push_back({message, wParam, lParam});
                return LRESULT(0);
            });
    }

    bool CreateShown(int width = 400, int height = 200)
    {
        if (!Create(L"test", WS_OVERLAPPEDWINDOW, CRect(50, 50, 50 + width, 50 + height), nullptr, 1))
            return false;
        ShowWindow(SW_SHOW);
        return true;
    }

    std::vector<CRecordedMessage> Take(UINT message)
    {
        std::vector<CRecordedMessage> taken;
        for (const CRecordedMessage& m : m_messages)
            if (m.message == message)
                taken.push_back(m);
        m_messages.clear();
        return taken;
    }

    std::vector<CRecordedMessage> m_messages;
};
