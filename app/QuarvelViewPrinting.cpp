// The main view's printing: one page with the X section, the depth slice and the Y section
// side by side over the project header, drawn by view controls of its own that exist only for
// the print job.

#include "QuarvelView.h"

#include "PrintInfo.h"
#include "QuarvelDoc.h"

#include "Project.h"

namespace {
// Ruler font height on a page of the header's reference resolution.
constexpr int PRINT_FONT_HEIGHT = 55;
// Control ids of the print objects.
enum : UINT { ID_PRINT_TOP_VIEW = 0, ID_PRINT_X_SECTION = 1, ID_PRINT_Y_SECTION = 2 };
// Page grid: the sections share 66 % of the width, the slice keeps 34 %; the header row is as
// high as the header on the page.
constexpr int SECTIONS_PERCENT = 66;
constexpr int SLICE_PERCENT = 34;
constexpr int PAGE_MARGIN = 10;
// The text size of a printer's own default font; ours would be the screen's system font.
constexpr int HEADER_FONT_POINTS = 10;
} // namespace

int CQuarvelView::GetPrintWidthX(int nSizeX, int nSizeY)
{
    const float sum = float(nSizeX) + float(nSizeY);
    if (!(sum > 0.0f))
        return SECTIONS_PERCENT / 2;
    return int(float(nSizeX) / sum * float(SECTIONS_PERCENT));
}

bool CQuarvelView::OnPreparePrinting(CPrintInfo* pInfo)
{
    if (!GetProject() || !pInfo)
        return false;
    pInfo->SetMaxPage(1);
    return DoPreparePrinting(pInfo);
}

void CQuarvelView::CreatePrintObjects(int nHeaderHeight)
{
    m_pPrintXSection = std::make_unique<CSideViewCtrl>();
    m_pPrintXSection->Create(this, CDataSideView::DIRECTION_X, ID_PRINT_X_SECTION);
    m_pPrintTopView = std::make_unique<CTopViewCtrl>();
    m_pPrintTopView->Create(this, ID_PRINT_TOP_VIEW);
    m_pPrintYSection = std::make_unique<CSideViewCtrl>();
    m_pPrintYSection->Create(this, CDataSideView::DIRECTION_Y, ID_PRINT_Y_SECTION);
    m_pPrintHeader = std::make_unique<CPrintProjectHeader>();

    m_pPrintGrid = std::make_unique<CLayoutTable>();
    CLayoutTable& grid = *m_pPrintGrid;
    grid.SetSize(3, 2, CLayoutTable::ORIENT_ROWS);
    grid.SetMargins(PAGE_MARGIN, PAGE_MARGIN, PAGE_MARGIN, PAGE_MARGIN);
    const int sectionPercent = SECTIONS_PERCENT / 2;
    grid.Add(0, 0, sectionPercent, 100, smPercent, smPercent, m_pPrintXSection.get(), ckView);
    grid.Add(1, 0, SLICE_PERCENT, 100, smPercent, smPercent, m_pPrintTopView.get(), ckView);
    grid.Add(2, 0, sectionPercent, 100, smPercent, smPercent, m_pPrintYSection.get(), ckView);
    grid.Add(0, 1, 50, nHeaderHeight, smPercent, smFixed, m_pPrintHeader.get(), ckGroup);
    grid.Add(1, 1, 50, nHeaderHeight, smPercent, smFixed, nullptr, ckSpace);
    grid.CalcMinSize();
    m_bPrintObjects = true;
}

void CQuarvelView::BindPrintObjects(CQuarvelDoc& doc)
{
    CProject* pProject = &doc.m_project;
    for (CSideViewCtrl* pSection : {m_pPrintXSection.get(), m_pPrintYSection.get()}) {
        pSection->SetData(pProject, &doc.m_matrix);
        pSection->SetPrintForm();
        pSection->UpdateRulers();
        pSection->Invalidate(true);
    }
    m_pPrintTopView->SetProject(pProject, &doc.m_matrix);
    m_pPrintTopView->UpdateRulers();
    m_pPrintTopView->SetPrintForm();
    m_pPrintHeader->SetProject(pProject);
}

void CQuarvelView::OnBeginPrinting(CDC* pDC, CPrintInfo*)
{
    CQuarvelDoc* pDoc = GetDocument();
    if (!pDC || !GetProject() || !pDoc)
        return;
    // Header row and ruler font keep their sizes on paper whatever the page's resolution.
    const int dpi = pDC->GetDeviceCaps(LOGPIXELSY);
    if (!m_bPrintObjects)
        CreatePrintObjects(CPrintProjectHeader::ToDevice(CPrintProjectHeader::HEIGHT, dpi));

    const int fontHeight = CPrintProjectHeader::ToDevice(PRINT_FONT_HEIGHT, dpi);
    m_pPrintXSection->RecalcLayout(fontHeight);
    m_pPrintXSection->Invalidate(true);
    m_pPrintYSection->RecalcLayout(fontHeight);
    m_pPrintYSection->Invalidate(true);
    m_pPrintTopView->RecalcLayout(fontHeight);
    m_pPrintTopView->Invalidate(true);
    m_pPrintTopView->Show(true);
    m_pPrintYSection->Show(true);
    m_pPrintXSection->Show(true);
    m_pPrintHeader->Show(true);

    // The sections share their width in the proportion of the grid sizes. The layout paints
    // nothing: what no cell covers stays blank paper.
    const CProjectSettings& s = pDoc->m_project.m_settings;
    const int widthX = GetPrintWidthX(s.m_iSizeX, s.m_iSizeY);
    m_pPrintGrid->GetCell(0, 0)->m_nWidth = widthX;
    m_pPrintGrid->GetCell(2, 0)->m_nWidth = SECTIONS_PERCENT - widthX;
    m_pPrintGrid->Layout(CRect(0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES)), nullptr);

    // Bound at their sizes on the page, so that each view puts its cross-hair on the project's
    // cursor rather than on a place scaled up from an empty window.
    BindPrintObjects(*pDoc);
}

void CQuarvelView::OnPrint(CDC* pDC, CPrintInfo*)
{
    if (!pDC || !m_bPrintObjects || !GetProject())
        return;
    CFont font;
    font.CreateFont(-HEADER_FONT_POINTS * pDC->GetDeviceCaps(LOGPIXELSY) / 72, 0, 0, 0, 400, false, false, false,
                    L"Times New Roman");
    CFont* pOldFont = pDC->SelectObject(&font);
    m_pPrintHeader->Draw(pDC);
    pDC->SelectObject(pOldFont);
    m_pPrintXSection->Print(pDC);
    m_pPrintYSection->Print(pDC);
    m_pPrintTopView->Print(pDC);
}

void CQuarvelView::OnEndPrinting(CDC*, CPrintInfo*)
{
    // Every job ends with its print objects gone, also when the project closed meanwhile.
    m_pPrintGrid.reset();
    m_pPrintHeader.reset();
    m_pPrintYSection.reset();
    m_pPrintTopView.reset();
    m_pPrintXSection.reset();
    m_bPrintObjects = false;
    Relayout();
}
