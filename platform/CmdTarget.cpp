#include "CmdTarget.h"

void CCmdUI::Enable(bool bOn)
{
    m_bEnabled = bOn;
    m_bEnableChanged = true;
}

void CCmdUI::SetCheck(int nCheck)
{
    m_nCheck = nCheck;
}

void CCmdUI::SetText(const std::wstring&) {}

void CCmdUI::DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHndler)
{
    pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this);
    if (bDisableIfNoHndler && !m_bEnableChanged)
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND_QUERY, nullptr));
}

void CCmdTarget::MapCommand(UINT nID, std::function<void()> handler, int nCode)
{
    m_entries.push_back({nID, nID, nCode, [handler = std::move(handler)](UINT) {
                             handler();
                             return true;
                         }, nullptr});
}

void CCmdTarget::MapCommandRange(UINT nFirst, UINT nLast, std::function<bool(UINT)> handler)
{
    m_entries.push_back({nFirst, nLast, CN_COMMAND, std::move(handler), nullptr});
}

void CCmdTarget::MapUpdate(UINT nID, std::function<void(CCmdUI*)> handler)
{
    MapUpdateRange(nID, nID, std::move(handler));
}

void CCmdTarget::MapUpdateRange(UINT nFirst, UINT nLast, std::function<void(CCmdUI*)> handler)
{
    m_entries.push_back({nFirst, nLast, CN_UPDATE_COMMAND_UI, nullptr, std::move(handler)});
}

bool CCmdTarget::OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI)
{
    for (const CEntry& entry : m_entries) {
        if (nID < entry.nFirst || nID > entry.nLast)
            continue;
        if (nCode == CN_UPDATE_COMMAND_UI && entry.update) {
            if (pCmdUI)
                entry.update(pCmdUI);
            return true;
        }
        if (entry.command && entry.nCode == (nCode == CN_COMMAND_QUERY ? CN_COMMAND : nCode)) {
            if (nCode == CN_COMMAND_QUERY)
                return true;
            if (entry.command(nID))
                return true;
        }
    }
    return false;
}
