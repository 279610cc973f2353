#include "UserFolder.h"

#include "FileIo.h"
#include "Values.h"

#include <cstdlib>

namespace {

std::wstring FromEnv(const char* name)
{
    const char* value = std::getenv(name);
    return value ? FromAnsi(value) : std::wstring();
}

} // namespace

std::wstring GetUserConfigDir()
{
    std::wstring base = FromEnv("APPDATA");
    if (base.empty())
        base = FromEnv("XDG_CONFIG_HOME");
    if (base.empty()) {
        const std::wstring home = FromEnv("HOME");
        if (!home.empty())
            base = JoinPath(home, L".config");
    }
    // Never the file-system root.
    while (base.size() > 1 && (base.back() == L'/' || base.back() == L'\\'))
        base.pop_back();
    if (base.empty() || base == L"/" || base == L"\\")
        return std::wstring();
    return base + L"/Tovrik/quarvel";
}
