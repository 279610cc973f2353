#pragma once
// A control for a whole number: an optional label at the left, an edit box for digits, an
// up-down button bound to the box and an optional unit text at the right. A value changed by
// the user, with the spin button or typed and ended with Enter, is posted to the parent as
// WM_VALUE_CHANGED (its id, the value); leaving the box takes a typed value over silently,
// and what the program sets is reported to nobody. Owners give it a font with WM_SETFONT.

#include "EnterEdit.h"

#include <climits>
#include <memory>
#include <string>

class CNumericEdit : public CWnd
{
public:
    class CEncapEdit : public CEnterEdit
    {
    public:
        int m_nMin = INT_MIN;
        int m_nMax = INT_MAX;

    protected:
        bool GetBoundText(int value, std::wstring& text) const override;
        bool IsLowerBoundNegative() const override { return m_nMin < 0; }
    };

    enum : UINT { IDC_EDIT = 510, IDC_SPIN = 511 };

    CNumericEdit();
    ~CNumericEdit() override;

    // The edit box starts with the range -900..900 and the value 0.
    bool Create(const CRect& rect, CWnd* pParent, UINT nID);
    // Label and unit take their widths, or their texts' extents in the box's font where those
    // are wider; each stays on one line.
    void SetLabel(const std::wstring& text, int nWidth);
    void SetUnit(const std::wstring& text);
    // The value limited to the range; not reported, and not taken for reported either: the
    // next Enter reports it.
    void SetPos(int nValue);
    // The value that the box holds: the spin's position read from the text, or, when the text
    // is no number within the range, the text normalised as Enter does it and the value it
    // then reads as.
    int GetPos();
    // A value outside the new range becomes the nearer end.
    void SetRange(int nMin, int nMax);
    void RecalcLayout(int cx, int cy);

    CEncapEdit& GetEdit() { return m_edit; }
    CSpinButtonCtrl& GetSpin() { return m_spin; }

    bool m_bRightAligned = false; // the box's text, when set before Create

protected:
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnEraseBkgnd(CDC*) override { return false; }

private:
    void ReportIfChanged(int value);
    void FitToText(CStatic* pStatic, CFont* pFont);
    CSize TextExtent(const std::wstring& text, CFont* pFont);
    std::unique_ptr<CStatic> MakeStatic(const std::wstring& text, int nWidth);

    CEncapEdit m_edit;
    CSpinButtonCtrl m_spin;
    std::unique_ptr<CStatic> m_pLabel;
    std::unique_ptr<CStatic> m_pUnit;
    int m_nLastValue = INT_MAX; // last reported or taken over
};
