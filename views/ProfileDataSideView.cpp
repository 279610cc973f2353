#include "ProfileDataSideView.h"

CProfileDataSideView::~CProfileDataSideView() = default;
void CProfileDataSideView::Render(const CRect& rect) { RenderProfile(rect); }
void CProfileDataSideView::RenderProfile(const CRect&) {}
void CProfileDataSideView::DrawHyperbolas(const CRect&) {}
std::vector<CPoint> CProfileDataSideView::HyperbolaPoints(const CRect&, int) const { return {}; }
