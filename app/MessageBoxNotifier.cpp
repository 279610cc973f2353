#include "MessageBoxNotifier.h"

#include "Services.h"

void CMessageBoxNotifier::ShowMessage(const std::wstring& text, TMessageIcon icon)
{
    UINT type = MB_OK;
    switch (icon) {
    case TMessageIcon::Exclamation: type |= MB_ICONEXCLAMATION; break;
    case TMessageIcon::Information: type |= MB_ICONINFORMATION; break;
    case TMessageIcon::Error: type |= MB_ICONERROR; break;
    case TMessageIcon::None: break;
    }
    AfxMessageBox(text, type);
}
