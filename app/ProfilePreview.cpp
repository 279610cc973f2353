#include "ProfilePreview.h"

#include "Wnd.h"

#include "Matrix.h"
#include "Project.h"

bool CalculatePreviewMatrix(CProject& project, C3DMatrix& matrix)
{
    CProcessingParams& params = project.m_settings.m_params;
    const bool bMigration = params.m_bMigration;
    const bool bDelMean = params.m_bDelMeanOn;
    params.m_bMigration = false;
    params.m_bDelMeanOn = false;
    params.m_iAperture = 1;
    const bool bCalculated = matrix.Calculate();
    params.m_bMigration = bMigration;
    params.m_bDelMeanOn = bDelMean;
    return bCalculated;
}

float PreviewGain(float fContrastFactor)
{
    return fContrastFactor != 0.0f ? fContrastFactor : 1.0f;
}

bool AutoGainChangesMatrix(bool bMigration, float fSavedGain, float fContrastFactor)
{
    return bMigration && fContrastFactor != fSavedGain;
}

CSize AddDlgItems(CWnd& dialog, CContainer& group, std::initializer_list<int> ids)
{
    for (int nID : ids)
        if (CWnd* pItem = dialog.GetDlgItem(nID))
            group.AddControl(pItem, 0, 0, false);
    return group.CalcBoundingRect().Size();
}

void BuildTopTable(CLayoutTable& top, CLayoutTable& left, CLayoutTable& right)
{
    top.SetMargins(0, 0, 0, 0);
    top.SetSize(2, 1, CLayoutTable::ORIENT_ROWS);
    top.Add(0, 0, left.GetMinSize().cx, 100, smFixed, smPercent, &left, ckTable);
    top.Add(1, 0, 100, 100, smPercent, smPercent, &right, ckTable);
    top.CalcMinSize();
}
