#include "SpinButtonCtrl.h"

#include "WndHost.h"

#include <QBoxLayout>
#include <QKeyEvent>
#include <QToolButton>
#include <algorithm>
#include <cwctype>
#include <string>

bool CSpinButtonCtrl::ReadNumber(const std::wstring& text, long long& value)
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
    m_nLower = nLower;
    m_nUpper = nUpper;
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
    m_nPos = std::clamp(nPos, std::min(m_nLower, m_nUpper), std::max(m_nLower, m_nUpper));
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
    if (!(GetStyle() & UDS_SETBUDDYINT) || !pBuddy || !ReadNumber(pBuddy->GetWindowText(), value) ||
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
    const long long lower = std::min(m_nLower, m_nUpper);
    const long long upper = std::max(m_nLower, m_nUpper);
    // A range given upside down counts down; wide, so that a step beyond INT_MAX cannot overflow.
    long long next = static_cast<long long>(m_nPos) + (m_nLower > m_nUpper ? -nDelta : nDelta);
    if (next < lower || next > upper)
        next = (GetStyle() & UDS_WRAP) ? (next < lower ? upper : lower) : std::clamp(next, lower, upper);
    if (next != m_nPos) {
        m_nPos = int(next);
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
