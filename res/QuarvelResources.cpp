#include "QuarvelResources.h"

#include "ResourceIds.h"

#include <QtGlobal>

const CResourceSet& GetQuarvelResources()
{
    static const CResourceSet s_resources{MakeMenus(), MakeAccelerators(), MakeDialogTemplates(), MakeStringTable(),
                                          {{IDB_LOGO, ":/res/logo.png"}},
                                          {{IDR_MAINFRAME, ":/res/icon.png"}}};
    return s_resources;
}

void InitQuarvelQtResources()
{
    Q_INIT_RESOURCE(quarvel);
}
