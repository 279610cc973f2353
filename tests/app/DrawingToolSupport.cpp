#include "DrawingToolSupport.h"

#include "GuiTestSupport.h"
#include "Messages.h"

#include <gtest/gtest.h>

CMessageRecorder::CMessageRecorder(CWnd* pParent)
{
    if (pParent)
        EXPECT_TRUE(Create(L"", WS_CHILD, CRect(0, 0, 4, 4), pParent, 999));
    else
        EXPECT_TRUE(Create(L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 450, 350), nullptr, 1));
}

std::vector<CMessageRecorder::CNote> CMessageRecorder::Take()
{
    m_bPosting = true;
    ProcessEvents();
    m_bPosting = false;
    std::vector<CNote> notes;
    notes.swap(m_notes);
    return notes;
}

LRESULT CMessageRecorder::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP) {
        m_notes.push_back({message, wParam, lParam, m_bPosting});
        if (message == WM_DRAWING_EVENT && m_pRelay && m_pRelay->GetSafeHwnd())
            m_pRelay->SendMessage(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
