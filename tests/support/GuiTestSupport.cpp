#include "GuiTestSupport.h"

#include "Controls.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <algorithm>

int CScriptedMessageBoxes::MessageBox(CWnd*, const std::wstring& text, const std::wstring&, UINT nType)
{
    m_texts.push_back(text);
    m_types.push_back(nType);
    if (!m_answers.empty()) {
        const int answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    const UINT buttons = nType & MB_TYPEMASK;
    return buttons == MB_OK ? IDOK : buttons == MB_YESNO ? IDNO : IDCANCEL;
}

bool CScriptedMessageBoxes::Contains(const std::wstring& text) const
{
    return std::find(m_texts.begin(), m_texts.end(), text) != m_texts.end();
}

bool CScriptedFileDialog::GetFileNames(CWnd*, const CFileDialogRequest& request, std::vector<std::wstring>& paths)
{
    m_requests.push_back(request);
    if (m_path.empty())
        return false;
    paths = {m_path};
    return true;
}

CModalAnswer::CModalAnswer(int nButtonID, TKind kind)
{
    CDialog::SetModalHook([this, nButtonID, kind](CDialog& dialog) {
        m_shown.push_back(dialog.GetTemplateID());
        QWidget* widget = dialog.GetWidget();
        switch (kind) {
        case PRESS_BUTTON:
            if (auto* pButton = dynamic_cast<CButton*>(dialog.GetDlgItem(nButtonID)))
                pButton->Click();
            break;
        case KEY_RETURN:
        case KEY_ESCAPE: {
            QKeyEvent key(QEvent::KeyPress, kind == KEY_RETURN ? Qt::Key_Return : Qt::Key_Escape, Qt::NoModifier,
                          kind == KEY_RETURN ? QStringLiteral("\r") : QStringLiteral("\x1b"));
            QCoreApplication::sendEvent(widget, &key);
            break;
        }
        case CLOSE_BOX: {
            QCloseEvent close;
            QCoreApplication::sendEvent(widget, &close);
            break;
        }
        }
    });
}

CModalAnswer::~CModalAnswer()
{
    CDialog::SetModalHook(nullptr);
}

void ProcessEvents()
{
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents();
}
