#include "DataSideView.h"

CDataSideView::CDataSideView() = default;
CDataSideView::~CDataSideView() = default;
void CDataSideView::Render(const CRect&) {}
void CDataSideView::RenderSection(const CSection&) {}
CSize CDataSideView::GetSize() const { return CSize(m_image.GetWidth(), m_image.GetHeight()); }
void CDataSideView::Show(bool bShow) { m_bShown = bShow; }
bool CDataSideView::Create(CWnd*, int, int nDirection) { m_nDirection = nDirection; return false; }
void CDataSideView::SetData(CProject* pProject, C3DMatrix* pMatrix) { m_pProject = pProject; m_pMatrix = pMatrix; }
void CDataSideView::SetDirection(int nDirection) { m_nDirection = nDirection; }
void CDataSideView::UpdateResampMaps(const CRect&) {}
void CDataSideView::UpdateGain() {}
void CDataSideView::UpdateThickness() {}
void CDataSideView::UpdateFromSettings(bool) {}
void CDataSideView::Resize(const CRect&) {}
void CDataSideView::InvalidateImage() {}
void CDataSideView::CopyImageTo(CDC*) {}
void CDataSideView::OnKeyDown(UINT, UINT, UINT) {}
void CDataSideView::PixelToPosition(CPoint, float& x, float& y) const { x = y = 0; }
float CDataSideView::PixelToDepth(CPoint) const { return 0; }
const Tovrik::CMemDC& CDataSideView::GetComposedImage() { return m_image; }
bool CDataSideView::TakeCursorPoint(CPoint, bool) { return false; }
void CDataSideView::SetSectionLine(int nLine) { m_nSectionLine = nLine; }
int CDataSideView::GetLineCount() const { return 0; }
void CDataSideView::SetPositionLineMovable(bool b) { m_bPositionLineMovable = b; }
void CDataSideView::SetCrossHairShown(bool b) { m_bCrossHairShown = b; }
void CDataSideView::SetPainterEnabled(bool b) { m_bPainterEnabled = b; }
void CDataSideView::OnPaint() {}
bool CDataSideView::OnEraseBkgnd(CDC*) { return true; }
void CDataSideView::OnLButtonDown(UINT, CPoint) {}
void CDataSideView::OnLButtonUp(UINT, CPoint) {}
void CDataSideView::OnMouseMove(UINT, CPoint) {}
bool CDataSideView::OnMouseWheel(UINT, short, CPoint) { return false; }
LRESULT CDataSideView::OnDataChanged(WPARAM, LPARAM) { return 0; }
LRESULT CDataSideView::OnDrawingEvent(WPARAM, LPARAM) { return 0; }
void CDataSideView::RenderEmpty(const CRect&) {}
CRect CDataSideView::ClientRect() const { return CRect(0, 0, m_image.GetWidth(), m_image.GetHeight()); }
uint32_t CDataSideView::ColourOf(float) { return 0; }
