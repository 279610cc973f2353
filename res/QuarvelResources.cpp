#include "QuarvelResources.h"

#include "ResourceIds.h"

#include <QtGlobal>

const CResourceSet& GetQuarvelResources()
{
    static const CResourceSet s_resources{MakeMenus(), MakeAccelerators(), MakeDialogTemplates(), MakeStringTable(),
                                          {{IDB_LOGO, ":/res/logo.png"}},
                                          {{IDR_MAINFRAME, ":/res/icon.png"},
                                           {IDI_CONTRAST, ":/res/contrast.png"},
                                           {IDI_TIME_GAIN, ":/res/timegain.png"},
                                           {IDI_OBJECTS_ALL, ":/res/objects-all.png"},
                                           {IDI_OBJECTS_RANGE, ":/res/objects-range.png"},
                                           {IDI_OBJECTS_HIDDEN, ":/res/objects-hidden.png"}},
                                          MakeToolBars()};
    return s_resources;
}

void InitQuarvelQtResources()
{
    Q_INIT_RESOURCE(quarvel);
}
