#pragma once
// The one document: the open project and its computed 3D matrix. Opening checks by the data
// fingerprint that the project's settings file belongs to the data on disk, then loads the
// matrix from its cache or computes it (a fresh computation also sets the initial contrast);
// saving writes the settings file, the cache and the drawing objects. A failed open leaves
// the document empty, and the views back at the logo.

#include "Document.h"
#include "Matrix.h"
#include "Project.h"

class CQuarvelDoc : public CDocument
{
public:
    // The hint of UpdateAllViews when the project is gone: views let go of it.
    static constexpr LPARAM HINT_PROJECT_CLOSED = 1;

    CQuarvelDoc() = default;

    bool OnOpenDocument(const std::wstring& path) override;
    // The path is ignored: the project saves under its own names.
    bool OnSaveDocument(const std::wstring& path) override;
    void OnCloseDocument() override;
    void DeleteContents() override;
    // Asks before the project is replaced when its settings or drawing objects changed.
    bool SaveModified() override;

    bool IsProjectLoaded() const { return m_project.IsOpen(); }
    // OnSaveDocument that tells the user when it fails, naming the drawing-object file when
    // only that one could not be written.
    bool SaveWithReport();
    // The matrix computed again from the project's settings, under a wait cursor; a failure
    // is shown to the user.
    bool Recalculate();

    // The initial contrast of a computed matrix from S, the sum of the absolute samples of
    // its first vertical line.
    static int32_t ContrastFromSum(float sum);

    CProject m_project;
    C3DMatrix m_matrix;

protected:
    bool DoFileSave() override;

private:
    void SetInitialContrast();
    // Project closed, matrix freed, drawing objects removed, views and object list told.
    void Empty();
    // The main window relays to the views and the object list that the drawing objects were
    // all replaced: removed (DRAW_REMOVED) or loaded (DRAW_ADDED).
    static void AnnounceObjects(WORD code);

    // The settings files of other data could not be moved aside on open: saves fail.
    bool m_bForeignFilesInPlace = false;
    // The drawing-object file that the last save could not write, after the settings and the
    // cache were written; empty when the save failed before or not at all.
    std::wstring m_strUnsavedObjectFile;
};
