#include "WindowClasses.h"

#include <set>

namespace {
std::set<std::wstring>& Registered()
{
    static std::set<std::wstring> s_names;
    return s_names;
}
} // namespace

bool RegisterWindowClass(const std::wstring& name)
{
    return Registered().insert(name).second;
}

bool IsWindowClassRegistered(const std::wstring& name)
{
    return Registered().count(name) != 0;
}
