// The string table.

#include "QuarvelResources.h"
#include "ResourceIds.h"

std::vector<CStringEntry> MakeStringTable()
{
    return {
        {IDS_SAVE_CHANGED, L"Save changed project %1"},
    };
}
