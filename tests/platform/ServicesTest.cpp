// The common dialogs: the filter text from the framework's form to Qt's, the names of a
// multiple selection, and the colour dialog and folder picker, scripted and Qt's own.

#include "ColorDialog.h"
#include "GuiTestSupport.h"
#include "Services.h"

#include <QApplication>
#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace {
// Runs the answer on the modal dialog that Qt shows next.
template <class TDialog>
void AnswerNextModal(std::function<void(TDialog&)> answer)
{
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<TDialog*>(QApplication::activeModalWidget());
        if (dialog) {
            answer(*dialog);
        } else if (QWidget* other = QApplication::activeModalWidget()) {
            ADD_FAILURE() << "another modal dialog";
            other->close();
        }
    });
}
} // namespace

TEST(ServicesTest, FileFilterBecomesQtsList)
{
    struct Case
    {
        const wchar_t* filter;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {L"3D Project (*.rhd)|*.rhd|3D Settings (*.3dq)|*.3dq|All files (*.*)|*.*||",
         L"3D Project (*.rhd);;3D Settings (*.3dq);;All files (*.*)"},
        {L"Profiles|*.rad;*.RAD||", L"Profiles (*.rad *.RAD)"},
        {L"", L""},
        {L"Broken|", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ConvertFileFilter(c.filter), c.expected) << std::wstring(c.filter).size();
}

TEST(ServicesTest, MultipleSelectionGivesTheFolderAndTheBareNames)
{
    const struct
    {
        std::vector<std::wstring> chosen;
        std::wstring folder;
        std::vector<std::wstring> names;
    } cases[] = {
        {{L"/data/survey/LINE1.rd3", L"/data/survey/LINE2.rd3"}, L"/data/survey", {L"LINE1.rd3", L"LINE2.rd3"}},
        {{L"/data/survey/LINE1.rd3"}, L"/data/survey", {L"/data/survey/LINE1.rd3"}},
        {{L"C:\\survey\\A.rd3", L"C:\\survey\\B.rd3"}, L"C:\\survey", {L"A.rd3", L"B.rd3"}},
        {{L"/A.rd3", L"/B.rd3"}, L"/", {L"A.rd3", L"B.rd3"}},
        {{}, L"", {}},
    };
    for (const auto& c : cases) {
        CScriptedFileDialog files;
        files.m_paths = c.chosen;
        CFileDialog dialog(true, L"rad", L"", OFN_ALLOWMULTISELECT | OFN_FILEMUSTEXIST, L"2D GPR files (*.rd3)|*.rd3||");
        EXPECT_EQ(dialog.DoModal(), c.chosen.empty() ? IDCANCEL : IDOK) << c.folder;
        EXPECT_EQ(dialog.GetFolderPath(), c.folder);
        EXPECT_EQ(dialog.GetBufferNames(), c.names) << c.folder;
        ASSERT_EQ(files.m_requests.size(), 1u);
        EXPECT_EQ(files.m_requests[0].flags & OFN_ALLOWMULTISELECT, DWORD(OFN_ALLOWMULTISELECT));
    }
}

TEST(ServicesTest, ColorDialogChangesItsColourOnlyOnOk)
{
    const struct
    {
        COLORREF initial;
        std::optional<COLORREF> answer;
        INT_PTR result;
        COLORREF color;
    } cases[] = {
        {RGB(10, 20, 30), RGB(200, 100, 50), IDOK, RGB(200, 100, 50)},
        {RGB(10, 20, 30), std::nullopt, IDCANCEL, RGB(10, 20, 30)},
        {0, RGB(1, 2, 3), IDOK, RGB(1, 2, 3)},
        {0xFF000000 | RGB(4, 5, 6), 0xFF000000 | RGB(7, 8, 9), IDOK, RGB(7, 8, 9)}, // only the colour counts
    };
    for (const auto& c : cases) {
        CScriptedColorDialog colors;
        if (c.answer)
            colors.m_answers.push_back(*c.answer);
        CColorDialog dialog(c.initial);
        EXPECT_EQ(dialog.GetColor(), c.initial & 0xFFFFFF);
        EXPECT_EQ(dialog.DoModal(), c.result);
        EXPECT_EQ(dialog.GetColor(), c.color);
        EXPECT_EQ(colors.m_initials, std::vector<COLORREF>{c.initial & 0xFFFFFF});
    }
}

TEST(ServicesTest, QtColorDialogStartsAtTheColourAndGivesTheChosenOne)
{
    QColor shown;
    AnswerNextModal<QColorDialog>([&shown](QColorDialog& dialog) {
        shown = dialog.currentColor();
        dialog.setCurrentColor(QColor(200, 100, 50));
        dialog.accept();
    });
    CColorDialog dialog(RGB(10, 20, 30));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(shown, QColor(10, 20, 30));
    EXPECT_EQ(dialog.GetColor(), RGB(200, 100, 50));

    AnswerNextModal<QColorDialog>([](QColorDialog& dialog) {
        dialog.setCurrentColor(QColor(1, 1, 1));
        dialog.reject();
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.GetColor(), RGB(200, 100, 50));
}

TEST(ServicesTest, QtFolderPickerGivesTheFolderOrTheCancelledCode)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    ASSERT_TRUE(QDir(folder.path()).mkdir("survey"));
    const QString survey = folder.filePath("survey");

    AnswerNextModal<QFileDialog>([&survey](QFileDialog& dialog) {
        EXPECT_EQ(dialog.fileMode(), QFileDialog::Directory);
        dialog.setDirectory(survey);
        dialog.selectFile(survey);
        static_cast<QDialog&>(dialog).accept(); // what the Choose button does
    });
    std::wstring path = L"unchanged";
    EXPECT_EQ(AfxGetFolderPickerService().PickFolder(nullptr, path), S_OK);
    EXPECT_EQ(QDir(QString::fromStdWString(path)).canonicalPath(), QDir(survey).canonicalPath());

    AnswerNextModal<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    path = L"unchanged";
    EXPECT_EQ(AfxGetFolderPickerService().PickFolder(nullptr, path), HRESULT_FROM_WIN32(ERROR_CANCELLED));
    EXPECT_EQ(path, L"unchanged");
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_CANCELLED), HRESULT(0x800704C7));
}
