#include "Notifier.h"

#include "MessageLog.h"

namespace {
INotifier* s_pNotifier = nullptr;
} // namespace

void SetNotifier(INotifier* pNotifier)
{
    s_pNotifier = pNotifier;
}

void ShowMessage(const std::wstring& text, TMessageIcon icon)
{
    if (s_pNotifier)
        s_pNotifier->ShowMessage(text, icon);
    else
        g_messageLog.LogString(LOG_PROGRAM, text);
}
