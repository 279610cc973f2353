#pragma once
// The drawing objects of the open project (lines, rectangles and circles marked over the
// data views), the current drawing style and tool, the display settings of the overlay, the
// selection and a one-object edit buffer for cut, copy and paste. The painters draw and edit
// the objects through it; the document loads and saves them with the project's ".3qo" file;
// the drawing settings live as "drawing." keys in the configuration file.

#include "DrawDataObject.h"
#include "DrawStyle.h"
#include "FileIo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CHeaders;

namespace Tovrik {

class CDrawingManager
{
public:
    using CDrawDataObject = Tovrik::CDrawDataObject;

    enum : int32_t { TOOL_LINE = 0, TOOL_RECT = 1, TOOL_CIRCLE = 2, TOOL_SELECT = 3 };
    // Which objects the top view shows.
    enum : int32_t { VISIBLE_ALL = 0, VISIBLE_RANGE = 1, VISIBLE_HIDE = 2 };

    // Empty, with the default style and the overlay off.
    CDrawingManager();
    CDrawingManager(const CDrawingManager&) = delete;
    CDrawingManager& operator=(const CDrawingManager&) = delete;

    // Empties the list and the edit buffer and sets the default style, tool and display
    // settings; the object file path and the visibility mode stay.
    void ResetDefaults();

    // The "drawing." keys of the configuration file; a missing or empty file changes nothing.
    // False when a value was taken otherwise than it stands (not a number, out of range, ...),
    // so that the save would not write it back: the file is then to be kept first.
    bool LoadSettings(const std::wstring& cfgPath);
    // Sets the keys in the configuration file, keeping every other line in place.
    bool SaveSettings(const std::wstring& cfgPath) const;

    // Null for an index out of range (-1 included).
    CDrawDataObject* GetObject(int index) const;
    CDrawDataObject* GetSelectedObject() const { return GetObject(m_nSelected); }
    int GetCount() const { return static_cast<int>(m_objects.size()); }
    int GetSelected() const { return m_nSelected; }
    // An index out of range (-1 included) or a pointer not in the list changes nothing.
    void SelectObject(int index);
    void SelectObject(const CDrawDataObject* pObject);
    void ClearSelection() { m_nSelected = -1; }

    // Appends a copy of the object's values with the current pen and brush.
    CDrawDataObject* AddObject(const CDrawDataObject& object);
    // An index out of range does nothing; the selection follows the objects.
    void RemoveObject(int index);
    void RemoveAll();

    // Changes to colour and pen width, sharing the pen and brush of an object of that style.
    void SetStyle(uint32_t crColor, int32_t nPenWidth);
    // Changes to the colour with the current pen width.
    void SetColor(uint32_t crColor);
    // The pen width becomes 2 for the line tool and 1 for the others.
    void SetTool(int32_t nTool);

    // Only while no object is being drawn and drawing mode is on.
    bool Cut();
    bool Copy();
    bool Paste();
    bool IsBufferFull() const { return m_bBufferFull; }

    // Saving an empty list deletes the file (through a symbolic link; a link that leads to no
    // file stays); a failed save is logged and leaves the old file. The first save over a file
    // that failed to load first keeps it under its name with ".bak", or ".bak.1", ".bak.2"...
    // beside earlier copies (KeepAside, a link staying); a file that cannot be read is never
    // replaced otherwise.
    bool SaveObjectList(const std::wstring& path);
    // Replaces the list with the file's objects; after a malformed line the objects before it
    // stay. The path is remembered for IsModified. False for a missing or damaged file.
    bool LoadObjectList(const std::wstring& path);
    // The last load found a file but could not read all of it (no header line, a bad line, a
    // zero byte, too large, not readable).
    bool IsFileDamaged() const { return m_bFileDamaged; }
    // Whether the list differs from the last loaded file as it would be written. The file as
    // the last load read it or the last save wrote it is kept: while the file on disk is still
    // that one, the list is compared with the kept copy; a file changed since is read again.
    bool IsModified() const;
    const std::wstring& GetObjectListPath() const { return m_strObjectListPath; }

    int32_t GetTool() const { return m_nTool; }
    uint32_t GetColor() const { return m_crColor; }
    int32_t GetPenWidth() const { return m_nPenWidth; }
    const PenPtr& GetPen() const { return m_pPen; }
    const BrushPtr& GetBrush() const { return m_pBrush; }

    int32_t GetBlendAlpha() const { return m_nBlendAlpha; }
    // Kept in 0..255.
    void SetBlendAlpha(int32_t nAlpha);
    bool GetDrawFrame() const { return m_bDrawFrame; }
    void SetDrawFrame(bool bDrawFrame) { m_bDrawFrame = bDrawFrame; }
    bool GetOverlay() const { return m_bOverlay; }
    void SetOverlay(bool bOverlay) { m_bOverlay = bOverlay; }
    int32_t GetVisibility() const { return m_nVisibility; }
    void SetVisibility(int32_t nVisibility) { m_nVisibility = nVisibility; }

    // A painter is drawing or moving an object.
    bool IsBusy() const { return m_bBusy; }
    void SetBusy(bool bBusy) { m_bBusy = bBusy; }
    bool IsDrawingMode() const { return m_bDrawingMode; }
    void SetDrawingMode(bool bDrawingMode) { m_bDrawingMode = bDrawingMode; }

private:
    // An object file as IsModified compares the list with it.
    struct CFileObjects
    {
        enum TState { MISSING, NO_LINE_END, UNUSABLE, READ };
        TState m_state = MISSING;
        std::vector<CDrawDataObject> m_objects; // READ: the file's objects, without pen and brush
        CFileIdentity m_identity;               // of the file they were read from or written to
    };
    // The objects of a file's text: READ, or why no list can equal it.
    static CFileObjects ParseFileObjects(const std::string& text);
    static CFileObjects ReadFileObjects(const std::wstring& path);
    bool DiffersFrom(const CFileObjects& file) const;
    // After a save of text (empty: the file removed) to path: what the file holds now, when
    // path is the one IsModified compares with.
    void KeepWritten(const std::wstring& path, const std::string& text = std::string());

    bool CanEdit() const { return !m_bBusy && m_bDrawingMode; }
    // The five keys, in their order, from the members.
    void SetSettingsKeys(CHeaders& headers) const;

    std::vector<std::unique_ptr<CDrawDataObject>> m_objects; // creation order
    int32_t m_nTool = TOOL_RECT;
    PenPtr m_pPen;
    BrushPtr m_pBrush;
    uint32_t m_crColor = 0;
    int32_t m_nBlendAlpha = 0;
    bool m_bDrawFrame = false;
    int32_t m_nSelected = -1;
    int32_t m_nPenWidth = 1;
    bool m_bBusy = false;
    bool m_bOverlay = false;
    std::wstring m_strObjectListPath;
    bool m_bFileDamaged = false;
    bool m_bKept = false; // m_kept holds the file of m_strObjectListPath
    CFileObjects m_kept;
    bool m_bDrawingMode = false;
    CDrawDataObject m_editBuffer;
    bool m_bBufferFull = false;
    int32_t m_nVisibility = VISIBLE_ALL;
};

} // namespace Tovrik

// The program's one drawing-object manager.
extern Tovrik::CDrawingManager g_drawingManager;
