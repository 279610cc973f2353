#pragma once
// The window classes of the views' own windows. The layer makes windows without classes, so
// a class is a name only: registered once, before the first window of its kind, and known by
// name from then on.

#include <string>

inline constexpr wchar_t kDataTopViewClass[] = L"MY_MFCDataTopView";
inline constexpr wchar_t kTopViewCtrlClass[] = L"MY_MFCTopViewCtrl";
inline constexpr wchar_t kSideViewCtrlClass[] = L"MY_MFCSideViewCtrl";

// False when a class of that name exists already.
bool RegisterWindowClass(const std::wstring& name);
bool IsWindowClassRegistered(const std::wstring& name);
