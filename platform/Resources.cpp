#include "Resources.h"

namespace {
const CResourceSet* s_pResources = nullptr;

template <typename T>
const T* FindById(const std::vector<T>& table, UINT nID)
{
    for (const T& entry : table)
        if (entry.nID == nID)
            return &entry;
    return nullptr;
}
} // namespace

void AfxSetResourceSet(const CResourceSet* pResources)
{
    s_pResources = pResources;
}

const CMenuResource* AfxFindMenu(UINT nID)
{
    return s_pResources ? FindById(s_pResources->menus, nID) : nullptr;
}

const CAcceleratorResource* AfxFindAccelerators(UINT nID)
{
    return s_pResources ? FindById(s_pResources->accelerators, nID) : nullptr;
}

const CDialogTemplate* AfxFindDialogTemplate(UINT nID)
{
    return s_pResources ? FindById(s_pResources->dialogs, nID) : nullptr;
}

const CBitmapResource* AfxFindBitmap(UINT nID)
{
    return s_pResources ? FindById(s_pResources->bitmaps, nID) : nullptr;
}

HICON AfxFindIcon(UINT nID)
{
    return s_pResources ? FindById(s_pResources->icons, nID) : nullptr;
}

const CToolBarResource* AfxFindToolBar(UINT nID)
{
    return s_pResources ? FindById(s_pResources->toolbars, nID) : nullptr;
}

std::wstring AfxLoadString(UINT nID)
{
    const CStringEntry* entry = s_pResources ? FindById(s_pResources->strings, nID) : nullptr;
    return entry ? entry->text : std::wstring();
}

std::wstring AfxFormatString1(UINT nID, const std::wstring& argument)
{
    std::wstring text = AfxLoadString(nID);
    const size_t at = text.find(L"%1");
    if (at != std::wstring::npos)
        text.replace(at, 2, argument);
    return text;
}
