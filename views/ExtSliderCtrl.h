#pragma once
// A control that picks a floating-point value with a trackbar: a captioned group frame around
// the trackbar, the value in a small box beside it and the two ends of the range in labels.
// The float range maps onto whole trackbar positions, 0 to 10000 or one per step; in reversed
// direction position 0 shows the maximum (a vertical trackbar has position 0 at its top). Every
// change of the value, by the user or by the program, is sent to the parent as
// WM_VALUE_CHANGED (its id, the float's 32 bits) unless m_bSilent is set. Owners give it a
// font with WM_SETFONT, may switch the layout flags before they size it and may show or hide
// its parts.

#include "EnterEdit.h"

#include <cfloat>
#include <string>

class CExtSliderCtrl : public CWnd
{
public:
    // The value box; read-only unless the owner makes it writable.
    class CEncapEdit : public CEnterEdit
    {
    public:
        float m_fMin = FLT_MIN;
        float m_fMax = FLT_MAX;

    protected:
        bool GetBoundText(int value, std::wstring& text) const override;
        bool IsLowerBoundNegative() const override { return m_fMin < 0; }
    };

    enum : int { ORIENT_VERTICAL = 1, ORIENT_HORIZONTAL = 2 };
    // Sources of UpdateValue: m_fValue as it stands, or the trackbar's current position.
    enum : int { SOURCE_VALUE = 0, SOURCE_TRACKBAR = 2 };

    CExtSliderCtrl();
    ~CExtSliderCtrl() override;

    bool Create(CWnd* pParent, const CRect& rect, int nOrientation, bool bSelection, UINT nID);
    void SetCaption(const std::wstring& text);
    void SetRange(float fMin, float fMax);
    void SetRange(int nMin, int nMax) { SetRange(float(nMin), float(nMax)); }
    void SetSelection(float fFrom, float fTo);
    // One position per step; a step of 0 or less (or NaN) means no step: 10000 positions.
    void SetStep(float fStep);
    // Normal direction from now on; it cannot be turned back.
    void SetReversed();
    int GetSliderPos() const { return m_trackbar.GetPos(); }
    // Brings value, box and trackbar into step and reports; false when there was nothing to do.
    bool UpdateValue(int nSource);

    CButton& GetFrame() { return m_frame; }
    CEncapEdit& GetEdit() { return m_edit; }
    CStatic& GetTopLabel() { return m_topLabel; }
    CStatic& GetBottomLabel() { return m_bottomLabel; }
    CStatic& GetCaptionLabel() { return m_captionLabel; }
    CSliderCtrl& GetTrackbar() { return m_trackbar; }

    float m_fValue = 0.0f;
    float m_fStep = 0.0f;
    float m_fMin = 0.0f;
    float m_fMax = 1000.0f;
    bool m_bReversed = true;
    int m_nPrecision = 0; // digits after the point of every text the control writes
    int m_nOrientation = ORIENT_VERTICAL;
    bool m_bSilent = false;
    bool m_bEditBeside = true;      // a horizontal trackbar leaves room for the box at its right
    bool m_bCaptionInFrame = true;  // else the caption goes into the caption label
    bool m_bCaptionBeside = false;  // a horizontal trackbar starts right of the caption label

protected:
    void OnSize(UINT nType, int cx, int cy) override;
    bool OnEraseBkgnd(CDC*) override { return false; }

private:
    bool IsVertical() const { return m_nOrientation == ORIENT_VERTICAL; }
    // Not mirrored.
    int ValueToPosition(float fValue) const;
    float PositionToValue(int nPos) const;
    float Clamp(float fValue) const;
    int PositionCount(float fStep) const;
    std::wstring FormatValue(float fValue) const;
    void UpdateLabels();
    void LayoutChildren(int cx, int cy);
    CRect ChildRect(const CWnd& child) const;

    CSliderCtrl m_trackbar;
    CEncapEdit m_edit;
    CButton m_frame;
    CStatic m_topLabel;
    CStatic m_bottomLabel;
    CStatic m_captionLabel;
    CSize m_textExtent;   // of "8000": sizes the box and the labels
    int m_nCurPos = -1;   // last read by the scroll handler
    int m_nPrevPos = -2;  // last turned into a value
    int m_nMinPos = 0;
    int m_nMaxPos = 10000;
};
