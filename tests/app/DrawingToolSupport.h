#pragma once
// What the drawing tool window and its object list tests share: a window that records the
// private messages it gets, sent or posted; top-level it stands for the main frame.

#include "Wnd.h"

#include <vector>

class CMessageRecorder : public CWnd
{
public:
    struct CNote
    {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool bPosted;
        bool operator==(const CNote& o) const
        {
            return message == o.message && wParam == o.wParam && lParam == o.lParam && bPosted == o.bPosted;
        }
    };

    // Top-level, or a child of pParent.
    explicit CMessageRecorder(CWnd* pParent = nullptr);
    // What arrived since the last call: first what was sent, then what was posted, once the
    // posted messages have been handled.
    std::vector<CNote> Take();

    // Relays drawing events to this window as the main frame does (0: nowhere).
    CWnd* m_pRelay = nullptr;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    std::vector<CNote> m_notes;
    bool m_bPosting = false;
};

inline CMessageRecorder::CNote Sent(UINT message, WPARAM wParam, LPARAM lParam)
{
    return {message, wParam, lParam, false};
}
inline CMessageRecorder::CNote Posted(UINT message, WPARAM wParam, LPARAM lParam)
{
    return {message, wParam, lParam, true};
}
