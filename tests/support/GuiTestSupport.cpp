#include "GuiTestSupport.h"

#include "Controls.h"
#include "PrintInfo.h"
#include "QtConvert.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QWidget>
#include <algorithm>

int CScriptedMessageBoxes::MessageBox(CWnd* pOwner, const std::wstring& text, const std::wstring& caption,
                                      UINT nType)
{
    m_texts.push_back(text);
    m_captions.push_back(caption);
    m_types.push_back(nType);
    m_owners.push_back(pOwner);
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
    if (!m_paths.empty()) {
        paths = m_paths;
        return true;
    }
    if (m_path.empty())
        return false;
    paths = {m_path};
    return true;
}

HRESULT CScriptedFolderPicker::PickFolder(CWnd*, std::wstring& path)
{
    ++m_nCalls;
    if (m_answers.empty())
        return HRESULT_FROM_WIN32(ERROR_CANCELLED);
    const auto [result, folder] = m_answers.front();
    m_answers.pop_front();
    if (result == S_OK)
        path = folder;
    return result;
}

bool CScriptedColorDialog::ChooseColor(CWnd*, COLORREF initial, COLORREF& color)
{
    m_initials.push_back(initial);
    if (m_answers.empty())
        return false;
    color = m_answers.front();
    m_answers.pop_front();
    return true;
}

bool CScriptedPrinting::PrintDialog(CWnd*, QPrinter& printer, CPrintInfo& info)
{
    ++m_nPrintDialogs;
    m_offeredRanges.emplace_back(info.GetMinPage(), info.GetMaxPage());
    if (m_pdfPath.empty())
        return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(ToQString(m_pdfPath));
    info.m_nFromPage = m_nFromPage;
    info.m_nToPage = m_nToPage;
    return true;
}

bool CScriptedPrinting::PageSetup(CWnd*, QPrinter& printer)
{
    ++m_nPageSetups;
    if (!m_setup)
        return false;
    m_setup(printer);
    return true;
}

void CScriptedPrinting::Preview(CWnd*, QPrinter& printer, const std::function<void(QPrinter&)>& render)
{
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, [&render](QPrinter* pPrinter) {
        render(*pPrinter);
    });
    for (int i = 0; i < m_nPreviewRequests; ++i)
        preview.updatePreview();
    m_nPreviewPages = preview.pageCount();
}

CModalAnswer::CModalAnswer(int nButtonID, TKind kind)
{
    CDialog::SetModalHook([this, nButtonID, kind](CDialog& dialog) {
        m_shown.push_back(dialog.GetTemplateID());
        QWidget* widget = dialog.GetWidget();
        switch (kind) {
        case PRESS_BUTTON:
            // The user's click gives the button the focus first.
            if (auto* pButton = dynamic_cast<CButton*>(dialog.GetDlgItem(nButtonID))) {
                pButton->SetFocus();
                pButton->Click();
            }
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
