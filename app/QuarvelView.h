#pragma once
// The main view. Until a project is bound it shows the logo in the middle of its client
// area; the panes of the data views take its place once a project is open.

#include "DC.h"
#include "GdiObjects.h"
#include "View.h"

class CQuarvelDoc;

class CQuarvelView : public CView
{
public:
    CQuarvelView();

    CQuarvelDoc* GetDocument() const;
    bool IsLogoMode() const { return m_bLogoMode; }

    void OnDraw(CDC* pDC) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, LPARAM lHint, void* pHint) override;

private:
    bool m_bInitialized = false; // built at the first initial update
    bool m_bLogoMode = false;
    CBitmap m_logo;
    CDC m_logoDC;
};
