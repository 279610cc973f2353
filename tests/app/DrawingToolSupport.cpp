#include "DrawingToolSupport.h"

#include "GuiTestSupport.h"
#include "Messages.h"

#include <gtest/gtest.h>

CRecordingFrame::CRecordingFrame()
{
    EXPECT_TRUE(Create(L"frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(50, 50, 450, 350), nullptr, 1));
}

std::vector<CRecordingFrame::CNote> CRecordingFrame::Take()
{
    m_bPosting = true;
    ProcessEvents();
    m_bPosting = false;
    std::vector<CNote> notes;
    notes.swap(m_notes);
    return notes;
}

LRESULT CRecordingFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= WM_APP) {
        m_notes.push_back({message, wParam, lParam, m_bPosting});
        if (message == WM_DRAWING_EVENT && m_pRelay && m_pRelay->GetSafeHwnd())
            m_pRelay->SendMessage(message, wParam, lParam);
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
