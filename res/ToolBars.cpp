// Toolbar 128 of the main frame: 16 x 15 images in button order, 0 for a separator.

#include "QuarvelResources.h"
#include "ResourceIds.h"

std::vector<CToolBarResource> MakeToolBars()
{
    return {{IDR_MAINFRAME,
             16,
             15,
             ":/res/toolbar.png",
             {ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_TOOLBAR_CONTRAST, ID_TOOLBAR_TIMEGAIN, 0, ID_TOOLBAR_TRACEVIEW, 0,
              ID_TOOLBAR_DRAWTOOL, ID_TOOLBAR_OBJECTS, 0, ID_TOOLBAR_VELOCITY, ID_TOOLBAR_BKGR, ID_TOOLBAR_EMDATA}}};
}
