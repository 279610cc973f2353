#pragma once
// The engine shows nothing itself: its few message boxes go through the notifier that the
// application installs (tests install a recorder). Without one the text goes to the log.

#include <string>

enum class TMessageIcon { None, Exclamation, Information, Error };

class INotifier
{
public:
    virtual ~INotifier() = default;
    virtual void ShowMessage(const std::wstring& text, TMessageIcon icon) = 0;
};

// The installed notifier is not owned; pass nullptr to remove it.
void SetNotifier(INotifier* pNotifier);
void ShowMessage(const std::wstring& text, TMessageIcon icon = TMessageIcon::Exclamation);
