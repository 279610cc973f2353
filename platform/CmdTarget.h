#pragma once
// Command routing in the framework's manner: a command target keeps tables of command
// handlers (menu items, accelerators, control notifications) and of update handlers that
// enable, check or rename the user-interface items of a command. OnCmdMsg looks a command
// up in the target's tables; windows, documents and the application override it to route
// on (view, document, frame, application).

#include "Types.h"

#include <functional>
#include <vector>

class CCmdTarget;

// Notification codes of OnCmdMsg: a command, an update request, or the question whether a
// handler exists (nothing runs).
enum : int { CN_COMMAND = 0, CN_UPDATE_COMMAND_UI = -1, CN_COMMAND_QUERY = -2 };

// One user-interface item of a command as its update handler sees it.
class CCmdUI
{
public:
    explicit CCmdUI(UINT nID) : m_nID(nID) {}
    virtual ~CCmdUI() = default;

    virtual void Enable(bool bOn = true);
    virtual void SetCheck(int nCheck = 1);
    virtual void SetText(const std::wstring& text);
    // Asks pTarget's update handler of the command. Without one, and with bDisableIfNoHndler,
    // the item is enabled exactly when some handler takes the command.
    void DoUpdate(CCmdTarget* pTarget, bool bDisableIfNoHndler);

    UINT m_nID;
    bool m_bEnabled = true;
    bool m_bEnableChanged = false; // an update handler called Enable
    int m_nCheck = 0;
};

class CCmdTarget
{
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // True when a handler of the table took the command (or the update, or would take it).
    virtual bool OnCmdMsg(UINT nID, int nCode, CCmdUI* pCmdUI);

protected:
    // ON_COMMAND: a command or a control notification code (BN_CLICKED is 0).
    void MapCommand(UINT nID, std::function<void()> handler, int nCode = CN_COMMAND);
    // ON_COMMAND_EX_RANGE: the handler gets the id and says whether it took the command.
    void MapCommandRange(UINT nFirst, UINT nLast, std::function<bool(UINT)> handler);
    // ON_UPDATE_COMMAND_UI and its range form.
    void MapUpdate(UINT nID, std::function<void(CCmdUI*)> handler);
    void MapUpdateRange(UINT nFirst, UINT nLast, std::function<void(CCmdUI*)> handler);

private:
    struct CEntry
    {
        UINT nFirst;
        UINT nLast;
        int nCode;
        std::function<bool(UINT)> command;
        std::function<void(CCmdUI*)> update;
    };
    std::vector<CEntry> m_entries;
};
