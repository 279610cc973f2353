#pragma once
// The per-user folder of the program: $APPDATA, else $XDG_CONFIG_HOME, else $HOME/.config,
// followed by the maker's and the program's folders. Empty when none of them is known.

#include <string>

std::wstring GetUserConfigDir();
