#include "DialogTestSupport.h"

#include "Controls.h"
#include "Dialog.h"
#include "ExtSliderCtrl.h"
#include "MainFrame.h"
#include "Messages.h"
#include "QuarvelApp.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

std::vector<LPARAM> CNoticeListener::Changes() const
{
    std::vector<LPARAM> changes;
    for (const auto& [message, lParam] : m_notes)
        if (message == WM_DATA_CHANGED)
            changes.push_back(lParam);
    return changes;
}

std::vector<WORD> CNoticeListener::Codes() const
{
    std::vector<WORD> codes;
    for (LPARAM change : Changes())
        codes.push_back(GetCode(change));
    return codes;
}

LRESULT CNoticeListener::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DATA_CHANGED || message == WM_CURSOR_MOVED)
        m_notes.emplace_back(message, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

void Press(CDialog& dialog, int nID)
{
    if (auto* pButton = dynamic_cast<CButton*>(dialog.GetDlgItem(nID))) {
        pButton->SetFocus();
        pButton->Click();
    }
}

void PressKey(CWnd& wnd, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier,
                    key == Qt::Key_Return ? QStringLiteral("\r") : QStringLiteral("\x1b"));
    QCoreApplication::sendEvent(wnd.GetWidget(), &press);
}

void MoveSlider(CExtSliderCtrl& slider, float fValue)
{
    slider.m_fValue = fValue;
    slider.UpdateValue(CExtSliderCtrl::SOURCE_VALUE);
}

void OpenProjectFixture::SetUp()
{
    AppFixture::SetUp();
    m_project = CreateGeneratedProject(m_dir);
    ASSERT_TRUE(Start({}));
    ASSERT_NE(m_pApp->OpenDocumentFile(m_project.rhdPath), nullptr);
    ASSERT_TRUE(m_frameListener.Create(L"", WS_CHILD, CRect(0, 0, 4, 4), Frame(), 999));
}

void OpenProjectFixture::TearDown()
{
    CDialog::SetModalHook(nullptr);
    AppFixture::TearDown();
}
