#pragma once
// Shows the engine's messages as message boxes with an OK button.

#include "Notifier.h"

class CMessageBoxNotifier : public INotifier
{
public:
    void ShowMessage(const std::wstring& text, TMessageIcon icon) override;
};
