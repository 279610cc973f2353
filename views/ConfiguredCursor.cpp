#include "ConfiguredCursor.h"

#include "Cursors.h"

#include "Cfg.h"

void SetConfiguredCursor(CWnd* pWnd, int nCursor)
{
    const bool bLoaded = nCursor >= 0 && size_t(nCursor) < g_cfg.m_cursors.size() &&
                         g_cfg.m_cursors[size_t(nCursor)].m_bLoaded;
    SetWindowCursor(pWnd, bLoaded ? int(g_cfg.m_cursors[size_t(nCursor)].m_id) : IDC_CLASS_CURSOR);
}
