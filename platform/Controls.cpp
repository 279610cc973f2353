#include "Controls.h"

#include "QtConvert.h"

#include <QBoxLayout>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QToolButton>
#include <algorithm>
#include <cwctype>
#include <string>

namespace {
// The window of exactly this widget, of the control class asked for.
template <typename TControl>
TControl* ControlOf(const QWidget* pWidget)
{
    auto* pControl = dynamic_cast<TControl*>(CWnd::FromWidget(pWidget));
    return pControl && pControl->GetWidget() == pWidget ? pControl : nullptr;
}

bool IsMomentaryFocusChange(const QFocusEvent* pEvent)
{
    return pEvent->reason() == Qt::PopupFocusReason || pEvent->reason() == Qt::MenuBarFocusReason;
}

// A buddy's text as the up-down reads it: optional blanks and sign, then only digits; an
// empty text is 0.
bool ReadBuddyNumber(const std::wstring& text, long long& value)
{
    if (text.empty()) {
        value = 0;
        return true;
    }
    size_t i = 0;
    while (i < text.size() && std::iswspace(wint_t(text[i])))
        ++i;
    bool bNegative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        bNegative = text[i] == L'-';
        ++i;
    }
    const size_t digits = i;
    long long number = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        number = std::min(number * 10 + (text[i] - L'0'), 1LL << 40); // far outside every range
    if (i == digits || i != text.size())
        return false;
    value = bNegative ? -number : number;
    return true;
}
} // namespace

QWidget* CStatic::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* label = new QLabel(ToQString(cs.lpszName), pParentWidget);
    const DWORD align = cs.style & 0x3;
    label->setAlignment((align == SS_CENTER ? Qt::AlignHCenter : align == SS_RIGHT ? Qt::AlignRight : Qt::AlignLeft) |
                        Qt::AlignTop);
    label->setWordWrap(align == SS_LEFT);
    return label;
}

QWidget* CButton::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    if ((cs.style & 0xF) == BS_GROUPBOX)
        return new QGroupBox(ToQString(cs.lpszName), pParentWidget);
    auto* button = new QPushButton(ToQString(cs.lpszName), pParentWidget);
    // Return belongs to the dialog, which decides what it presses.
    button->setAutoDefault(false);
    button->setDefault(false);
    QObject::connect(button, &QPushButton::clicked, button, [button] {
        if (auto* pButton = dynamic_cast<CButton*>(CWnd::FromWidget(button)))
            pButton->Click();
    });
    return button;
}

void CButton::Click()
{
    CWnd* pParent = GetParent();
    if (pParent)
        pParent->Dispatch(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

// The edit box's widget: keys and focus changes go to its window first.
class CEditWidget : public QLineEdit
{
public:
    using QLineEdit::QLineEdit;
    void DefaultKey(QKeyEvent* pEvent) { QLineEdit::keyPressEvent(pEvent); }

protected:
    void keyPressEvent(QKeyEvent* pEvent) override
    {
        if (CEdit* pEdit = ControlOf<CEdit>(this))
            pEvent->setAccepted(pEdit->TranslateKey(pEvent));
        else
            QLineEdit::keyPressEvent(pEvent);
    }
    void focusInEvent(QFocusEvent* pEvent) override
    {
        QLineEdit::focusInEvent(pEvent);
        if (CEdit* pEdit = ControlOf<CEdit>(this); pEdit && !IsMomentaryFocusChange(pEvent))
            pEdit->Dispatch(WM_SETFOCUS, 0, 0);
    }
    void focusOutEvent(QFocusEvent* pEvent) override
    {
        if (CEdit* pEdit = ControlOf<CEdit>(this); pEdit && !IsMomentaryFocusChange(pEvent))
            pEdit->Dispatch(WM_KILLFOCUS, 0, 0);
        QLineEdit::focusOutEvent(pEvent);
    }
};

QWidget* CEdit::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    auto* edit = new CEditWidget(ToQString(cs.lpszName), pParentWidget);
    edit->setFrame((cs.style & WS_BORDER) != 0);
    const DWORD align = cs.style & 0x3;
    edit->setAlignment((align == ES_CENTER ? Qt::AlignHCenter : align == ES_RIGHT ? Qt::AlignRight : Qt::AlignLeft) |
                       Qt::AlignVCenter);
    edit->setReadOnly((cs.style & ES_READONLY) != 0);
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit] {
        if (CEdit* pEdit = ControlOf<CEdit>(edit))
            pEdit->Notify(EN_CHANGE);
    });
    return edit;
}

LRESULT CEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETDLGCODE)
        return OnGetDlgCode();
    return CWnd::WindowProc(message, wParam, lParam);
}

UINT CEdit::OnGetDlgCode()
{
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
}

bool CEdit::TranslateKey(QKeyEvent* pEvent)
{
    const UINT vk = VirtualKeyFromQt(pEvent->key());
    const bool bEscape = vk == VK_ESCAPE;
    if (bEscape && (SendMessage(WM_GETDLGCODE, vk, 0) & DLGC_WANTALLKEYS) == 0)
        return false;
    const HWND hSelf = m_hWnd;
    m_pKey = pEvent;
    m_bKeyPassed = false;
    pEvent->accept();
    if (vk)
        Dispatch(WM_KEYDOWN, vk, MAKELPARAM(1, pEvent->isAutoRepeat() ? 0x4000 : 0));
    for (const QChar ch : pEvent->text())
        if (FromHandle(hSelf) == this)
            Dispatch(WM_CHAR, ch.unicode(), MAKELPARAM(1, 0));
    // A handler may have destroyed the box.
    if (FromHandle(hSelf) != this)
        return true;
    if (!vk && pEvent->text().isEmpty())
        PassKey(pEvent->key(), 0);
    const bool bPassed = m_bKeyPassed;
    m_pKey = nullptr;
    m_bKeyPassed = false;
    if (vk == VK_RETURN || bEscape || !bPassed)
        return true;
    return pEvent->isAccepted();
}

void CEdit::PassKey(int qtKey, UINT nChar)
{
    auto* edit = static_cast<CEditWidget*>(GetWidget());
    if (!edit)
        return;
    if (m_pKey) {
        if (!m_bKeyPassed) {
            m_bKeyPassed = true;
            edit->DefaultKey(m_pKey);
        }
        return;
    }
    QKeyEvent key(QEvent::KeyPress, qtKey, Qt::NoModifier, nChar ? QString(QChar(char16_t(nChar))) : QString());
    edit->DefaultKey(&key);
}

void CEdit::OnKeyDown(UINT nChar, UINT, UINT)
{
    // Keys that type a character are typed by WM_CHAR.
    if (!m_pKey || m_pKey->text().isEmpty())
        PassKey(QtKeyFromVirtualKey(nChar), 0);
}

void CEdit::OnChar(UINT nChar, UINT, UINT)
{
    const bool bControl = nChar < 0x20 || nChar == 0x7F;
    if ((GetStyle() & ES_NUMBER) && !bControl && !(nChar >= '0' && nChar <= '9'))
        return;
    const int qtKey = nChar == VK_BACK ? Qt::Key_Backspace : nChar == VK_RETURN ? Qt::Key_Return
                      : nChar == VK_ESCAPE ? Qt::Key_Escape : Qt::Key_unknown;
    PassKey(qtKey, nChar);
}

void CEdit::OnSetFocus(CWnd*)
{
    Notify(EN_SETFOCUS);
}

void CEdit::OnKillFocus(CWnd*)
{
    Notify(EN_KILLFOCUS);
}

void CEdit::Notify(UINT nCode)
{
    if (CWnd* pParent = GetParent())
        pParent->Dispatch(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), int(nCode)), reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CEdit::SetSel(int nStart, int nEnd, bool)
{
    auto* edit = qobject_cast<QLineEdit*>(GetWidget());
    if (!edit)
        return;
    if (nStart < 0) {
        edit->deselect();
        return;
    }
    const int length = int(edit->text().size());
    if (nEnd < 0 || nEnd > length)
        nEnd = length;
    nStart = std::min(nStart, length);
    if (nStart == nEnd)
        edit->setCursorPosition(nStart);
    else
        edit->setSelection(nStart, nEnd - nStart);
}

void CEdit::GetSel(int& nStart, int& nEnd) const
{
    nStart = nEnd = 0;
    const auto* edit = qobject_cast<const QLineEdit*>(GetWidget());
    if (!edit)
        return;
    if (edit->hasSelectedText()) {
        nStart = edit->selectionStart();
        nEnd = nStart + int(edit->selectedText().size());
    } else {
        nStart = nEnd = edit->cursorPosition();
    }
}

void CEdit::SetReadOnly(bool bReadOnly)
{
    if (auto* edit = qobject_cast<QLineEdit*>(GetWidget()))
        edit->setReadOnly(bReadOnly);
}

bool CEdit::IsReadOnly() const
{
    const auto* edit = qobject_cast<const QLineEdit*>(GetWidget());
    return edit && edit->isReadOnly();
}

// The up-down's widget: two auto-repeating arrow buttons; it also watches the buddy's keys.
class CSpinWidget : public QWidget
{
public:
    CSpinWidget(QWidget* pParent, bool bHorizontal) : QWidget(pParent), m_bHorizontal(bHorizontal)
    {
        QBoxLayout* layout = bHorizontal ? static_cast<QBoxLayout*>(new QHBoxLayout(this)) : new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        // Up (or right) steps forward, down (or left) back.
        QToolButton* forward = MakeButton(bHorizontal ? Qt::RightArrow : Qt::UpArrow, QStringLiteral("up"), 1);
        QToolButton* back = MakeButton(bHorizontal ? Qt::LeftArrow : Qt::DownArrow, QStringLiteral("down"), -1);
        layout->addWidget(bHorizontal ? back : forward);
        layout->addWidget(bHorizontal ? forward : back);
    }

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() != QEvent::KeyPress)
            return QWidget::eventFilter(pWatched, pEvent);
        CSpinButtonCtrl* pSpin = ControlOf<CSpinButtonCtrl>(this);
        if (!pSpin || !(pSpin->GetStyle() & UDS_ARROWKEYS))
            return false;
        const int key = static_cast<QKeyEvent*>(pEvent)->key();
        const int forward = m_bHorizontal ? Qt::Key_Right : Qt::Key_Up;
        const int back = m_bHorizontal ? Qt::Key_Left : Qt::Key_Down;
        if (key != forward && key != back)
            return false;
        pSpin->Step(key == forward ? 1 : -1);
        return true;
    }

private:
    QToolButton* MakeButton(Qt::ArrowType arrow, const QString& name, int delta)
    {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setArrowType(arrow);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        button->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        QObject::connect(button, &QToolButton::pressed, this, [this, delta] {
            if (CSpinButtonCtrl* pSpin = ControlOf<CSpinButtonCtrl>(this))
                pSpin->Step(delta);
        });
        // Auto-repeat releases the button for a moment; only the last release ends the steps.
        QObject::connect(button, &QToolButton::released, this, [this, button] {
            if (CSpinButtonCtrl* pSpin = ControlOf<CSpinButtonCtrl>(this); pSpin && !button->isDown())
                pSpin->Notify(SB_ENDSCROLL);
        });
        return button;
    }

    bool m_bHorizontal;
};

QWidget* CSpinButtonCtrl::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    return new CSpinWidget(pParentWidget, (cs.style & UDS_HORZ) != 0);
}

CWnd* CSpinButtonCtrl::SetBuddy(CWnd* pBuddy)
{
    CWnd* pPrevious = GetBuddy();
    if (pPrevious && pPrevious->GetWidget() && GetWidget())
        pPrevious->GetWidget()->removeEventFilter(GetWidget());
    m_hBuddy = pBuddy ? pBuddy->GetSafeHwnd() : nullptr;
    if (pBuddy && pBuddy->GetWidget() && GetWidget())
        pBuddy->GetWidget()->installEventFilter(GetWidget());
    return pPrevious;
}

CWnd* CSpinButtonCtrl::GetBuddy() const
{
    return FromHandle(m_hBuddy);
}

void CSpinButtonCtrl::SetRange(int nLower, int nUpper)
{
    m_nLower = int16_t(nLower);
    m_nUpper = int16_t(nUpper);
}

void CSpinButtonCtrl::GetRange(int& nLower, int& nUpper) const
{
    nLower = m_nLower;
    nUpper = m_nUpper;
}

bool CSpinButtonCtrl::InRange(long long value) const
{
    return value >= std::min(m_nLower, m_nUpper) && value <= std::max(m_nLower, m_nUpper);
}

int CSpinButtonCtrl::SetPos(int nPos)
{
    const int previous = m_nPos;
    m_nPos = std::clamp(int(int16_t(nPos)), std::min(m_nLower, m_nUpper), std::max(m_nLower, m_nUpper));
    WriteBuddy();
    return previous;
}

int CSpinButtonCtrl::GetPos(bool* pbError)
{
    const bool bRead = !(GetStyle() & UDS_SETBUDDYINT) || !GetBuddy() || ReadBuddy();
    if (pbError)
        *pbError = !bRead;
    return m_nPos;
}

bool CSpinButtonCtrl::ReadBuddy()
{
    CWnd* pBuddy = GetBuddy();
    long long value = 0;
    if (!(GetStyle() & UDS_SETBUDDYINT) || !pBuddy || !ReadBuddyNumber(pBuddy->GetWindowText(), value) ||
        !InRange(value))
        return false;
    m_nPos = int(value);
    return true;
}

void CSpinButtonCtrl::WriteBuddy()
{
    CWnd* pBuddy = GetBuddy();
    if ((GetStyle() & UDS_SETBUDDYINT) && pBuddy)
        pBuddy->SetWindowText(std::to_wstring(m_nPos));
}

void CSpinButtonCtrl::Step(int nDelta)
{
    // What was typed into the buddy counts.
    ReadBuddy();
    const int lower = std::min(m_nLower, m_nUpper);
    const int upper = std::max(m_nLower, m_nUpper);
    // A range given upside down counts down.
    int next = m_nPos + (m_nLower > m_nUpper ? -nDelta : nDelta);
    if (next < lower || next > upper)
        next = (GetStyle() & UDS_WRAP) ? (next < lower ? upper : lower) : std::clamp(next, lower, upper);
    if (next != m_nPos) {
        m_nPos = next;
        WriteBuddy();
    }
    Notify(SB_THUMBPOSITION);
}

void CSpinButtonCtrl::Notify(UINT nCode)
{
    if (CWnd* pParent = GetParent())
        pParent->Dispatch((GetStyle() & UDS_HORZ) ? WM_HSCROLL : WM_VSCROLL, MakeScrollParam(nCode, m_nPos),
                          reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

// The trackbar's widget; it draws the selection band along the groove.
class CSliderWidget : public QSlider
{
public:
    using QSlider::QSlider;
    bool m_bSelRange = false;
    int m_nSelMin = 0;
    int m_nSelMax = 0;

protected:
    void paintEvent(QPaintEvent* pEvent) override
    {
        QSlider::paintEvent(pEvent);
        if (!m_bSelRange || m_nSelMax <= m_nSelMin)
            return;
        QStyleOptionSlider option;
        initStyleOption(&option);
        const QRect groove = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
        const QRect handle = style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
        const bool bHorizontal = orientation() == Qt::Horizontal;
        const int length = bHorizontal ? handle.width() : handle.height();
        const int space = (bHorizontal ? groove.width() : groove.height()) - length;
        const int origin = (bHorizontal ? groove.x() : groove.y()) + length / 2;
        auto at = [&](int value) {
            return origin + QStyle::sliderPositionFromValue(minimum(), maximum(), value, space, option.upsideDown);
        };
        const int from = std::min(at(m_nSelMin), at(m_nSelMax));
        const int to = std::max(at(m_nSelMin), at(m_nSelMax));
        QPainter painter(this);
        painter.setClipRegion(QRegion(rect()).subtracted(handle));
        const QRect band = bHorizontal ? QRect(from, groove.center().y() - 1, to - from + 1, 3)
                                       : QRect(groove.center().x() - 1, from, 3, to - from + 1);
        painter.fillRect(band, palette().color(QPalette::Highlight));
    }
};

QWidget* CSliderCtrl::CreateWidget(const CREATESTRUCT& cs, QWidget* pParentWidget)
{
    const bool bVertical = (cs.style & TBS_VERT) != 0;
    auto* slider = new CSliderWidget(bVertical ? Qt::Vertical : Qt::Horizontal, pParentWidget);
    if (bVertical) {
        // The minimum at the top, and Up moves toward it.
        slider->setInvertedAppearance(true);
        slider->setInvertedControls(true);
    }
    slider->setRange(0, 100);
    slider->setSingleStep(1);
    slider->setPageStep(20);
    if ((cs.style & TBS_AUTOTICKS) && !(cs.style & TBS_NOTICKS)) {
        slider->setTickInterval(0);
        slider->setTickPosition((cs.style & TBS_BOTH) ? QSlider::TicksBothSides
                                : (cs.style & TBS_TOP) ? QSlider::TicksAbove : QSlider::TicksBelow);
    }
    slider->m_bSelRange = (cs.style & TBS_ENABLESELRANGE) != 0;
    QObject::connect(slider, &QAbstractSlider::actionTriggered, slider, [slider](int action) {
        CSliderCtrl* pSlider = ControlOf<CSliderCtrl>(slider);
        if (!pSlider)
            return;
        UINT code = TB_ENDTRACK;
        switch (action) {
        case QAbstractSlider::SliderSingleStepAdd: code = TB_LINEDOWN; break;
        case QAbstractSlider::SliderSingleStepSub: code = TB_LINEUP; break;
        case QAbstractSlider::SliderPageStepAdd: code = TB_PAGEDOWN; break;
        case QAbstractSlider::SliderPageStepSub: code = TB_PAGEUP; break;
        case QAbstractSlider::SliderToMinimum: code = TB_TOP; break;
        case QAbstractSlider::SliderToMaximum: code = TB_BOTTOM; break;
        case QAbstractSlider::SliderMove:
            // Dragged, or the wheel.
            if (slider->isSliderDown()) {
                pSlider->Notify(TB_THUMBTRACK);
                return;
            }
            code = TB_THUMBPOSITION;
            break;
        default: return;
        }
        const HWND hSlider = pSlider->GetSafeHwnd();
        pSlider->Notify(code);
        if (CWnd::FromHandle(hSlider) == pSlider)
            pSlider->Notify(TB_ENDTRACK);
    });
    QObject::connect(slider, &QAbstractSlider::sliderReleased, slider, [slider] {
        CSliderCtrl* pSlider = ControlOf<CSliderCtrl>(slider);
        if (!pSlider)
            return;
        const HWND hSlider = pSlider->GetSafeHwnd();
        pSlider->Notify(TB_THUMBPOSITION);
        if (CWnd::FromHandle(hSlider) == pSlider)
            pSlider->Notify(TB_ENDTRACK);
    });
    return slider;
}

void CSliderCtrl::Notify(UINT nCode)
{
    if (CWnd* pParent = GetParent())
        pParent->Dispatch((GetStyle() & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL, MakeScrollParam(nCode, GetPos()),
                          reinterpret_cast<LPARAM>(GetSafeHwnd()));
}

void CSliderCtrl::SetRange(int nMin, int nMax, bool bRedraw)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    const QSignalBlocker blocker(slider);
    slider->setRange(nMin, nMax);
    slider->setPageStep(std::max(1, int((static_cast<long long>(nMax) - nMin) / 5)));
    if (bRedraw)
        slider->update();
}

int CSliderCtrl::GetRangeMin() const
{
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    return slider ? slider->minimum() : 0;
}

int CSliderCtrl::GetRangeMax() const
{
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    return slider ? slider->maximum() : 0;
}

void CSliderCtrl::SetPos(int nPos)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    const QSignalBlocker blocker(slider);
    slider->setValue(nPos);
}

int CSliderCtrl::GetPos() const
{
    // While the user's action is being reported the thumb is already where it goes.
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    return slider ? slider->sliderPosition() : 0;
}

void CSliderCtrl::SetSelection(int nMin, int nMax)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    slider->m_nSelMin = nMin;
    slider->m_nSelMax = nMax;
    slider->update();
}

void CSliderCtrl::GetSelection(int& nMin, int& nMax) const
{
    const auto* slider = static_cast<const CSliderWidget*>(GetWidget());
    nMin = slider ? slider->m_nSelMin : 0;
    nMax = slider ? slider->m_nSelMax : 0;
}

void CSliderCtrl::ClearTics(bool bRedraw)
{
    auto* slider = static_cast<CSliderWidget*>(GetWidget());
    if (!slider)
        return;
    slider->setTickPosition(QSlider::NoTicks);
    if (bRedraw)
        slider->update();
}
