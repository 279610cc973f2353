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
                                           {IDI_OBJECTS_HIDDEN, ":/res/objects-hidden.png"},
                                           {IDI_DRAW_SELECT, ":/res/draw-select.png"},
                                           {IDI_DRAW_LINE, ":/res/draw-line.png"},
                                           {IDI_DRAW_RECT, ":/res/draw-rect.png"},
                                           {IDI_DRAW_CIRCLE, ":/res/draw-circle.png"},
                                           {IDI_BROWSE_FOLDER, ":/res/folder.png"},
                                           {IDI_PROFILE_LOAD, ":/res/profile-load.png"},
                                           {IDI_PROFILE_REMOVE, ":/res/profile-remove.png"},
                                           {IDI_PROFILE_UP, ":/res/profile-up.png"},
                                           {IDI_PROFILE_DOWN, ":/res/profile-down.png"}},
                                          MakeToolBars()};
    return s_resources;
}

void InitQuarvelQtResources()
{
    Q_INIT_RESOURCE(quarvel);
}
