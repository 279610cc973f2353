#pragma once
// The painter of drawing objects of one data view: it mirrors the drawing-object manager's
// lines, rectangles and circles as window-pixel rectangles, composes the view's image and
// the objects into its own surface (which the view copies to the screen), and lets the user
// create, select, move and resize objects with the mouse. Every edit is reported by posting
// WM_DRAWING_EVENT with wParam 172 to the view, which relays it to the main window. Pixels
// become survey positions and depths through the view's IDataViewPainterHelper.

#include "MemDC.h"
#include "ShapeRaster.h"

#include "DrawingManager.h"
#include "ResampMap.h"

#include <cstdint>
#include <vector>

class CWnd;

// What a data view tells its painter about its pixels.
class IDataViewPainterHelper
{
public:
    virtual ~IDataViewPainterHelper() = default;
    // The survey position (grid units) under the client pixel.
    virtual void PixelToPosition(CPoint point, float& x, float& y) const = 0;
    // The depth (samples) under the client pixel.
    virtual float PixelToDepth(CPoint point) const = 0;
};

class CDataViewPainter
{
public:
    using CDrawDataObject = Tovrik::CDrawDataObject;

    // One manager object in window pixels; for a line the corners are its two ends in order.
    class CPaintObject
    {
    public:
        CRect Normalised() const;

        int32_t m_nLeft = 0;
        int32_t m_nTop = 0;
        int32_t m_nRight = 0;
        int32_t m_nBottom = 0;
        bool m_bDrawn = true;   // part of the composition
        bool m_bInRange = true; // visible at the current depth
        CDrawDataObject* m_pObject = nullptr; // the manager's, not owned
    };

    enum TMode : int32_t { MODE_TOP = 1, MODE_SECTION_Y = 2, MODE_SECTION_X = 3 };
    enum TState : int32_t {
        STATE_IDLE = 0,      // a creating tool, nothing selected
        STATE_CREATING = 1,  // an object is being created here
        STATE_SELECTING = 2, // the select tool
        STATE_COMPOSING = 3, // composing without the object about to move
        STATE_MOVING = 4,    // the selected object is moved or resized
        STATE_FOREIGN = 5,   // another view is creating an object
    };
    // Grip codes: vertical part x 8 + horizontal part, each 1 first edge, 2 middle, 4 last.
    enum : int32_t { GRIP_NONE = -1, GRIP_BODY = 0 };

    CDataViewPainter() = default;
    CDataViewPainter(const CDataViewPainter&) = delete;
    CDataViewPainter& operator=(const CDataViewPainter&) = delete;

    void Create(IDataViewPainterHelper* pView, CWnd* pViewWnd, int nMode, int width, int height);
    void SetSize(int width, int height);
    // The view's grid columns, rows and samples.
    void SetGridSize(int nSizeX, int nSizeY, int nSamples);
    // The view's image, composed under the objects; not owned.
    void SetSource(Tovrik::CMemDC* pSource) { m_pSource = pSource; }
    // What the view copies to the screen.
    Tovrik::CMemDC& GetComposite() { return m_composite; }

    // Idle, nothing selected here nor in the manager; composes unless told not to.
    void Reset(bool bCompose = true);
    void RebuildObjects();
    // Lets go of every object, as when the manager's objects are about to be freed.
    void ClearObjects();
    // The slice depth decides which objects the top view shows.
    void SetDepthRange(float depth, bool bCompose = true);
    void UpdateVisibility(CPaintObject& object) const;
    void SortObjects();
    // 1 added, 2 removed (the manager's event codes 3 and 4); index -1 rebuilds the list.
    void OnObjectEvent(int nCode, int nIndex);
    // The manager's selection becomes the painter's (drawing event 1); composes.
    void OnSelectionChanged();
    // The manager's object at the index was changed elsewhere (drawing event 5); composes.
    void OnObjectChanged(int nIndex);
    // The manager's tool changed (drawing event 8); whether the picture changed.
    bool SetTool();
    // Another view started (true) or ended (false) a creation (drawing event 9).
    bool SetCreating(bool bOn);

    // The editing protocol; each returns whether the view must repaint. hoverX and hoverY
    // are the project's hover position, depth the slice depth or the section's hover depth.
    bool OnLButtonDown(CPoint point, float hoverX, float hoverY, float depth);
    bool OnMouseMove(UINT nFlags, CPoint point, float hoverX, float hoverY, float depth);
    bool OnLButtonUp(CPoint point, float hoverX, float hoverY, float depth);

    // The paint object of a manager object. One the list lacks is logged and looked up again
    // after the list was rebuilt from the manager's; -1 when it is not there either.
    int GetPaintObject(const CDrawDataObject* pObject);
    void CalcObjectRect(CPaintObject& object) const;
    // The paint object under the last mouse point, or -1.
    int PickObject();
    // Composes the source and the objects into the composite.
    void Paint();
    // Grip of the selected object under the last mouse point; shows its cursor and returns
    // true when it set one.
    bool HitTest();

    int GetState() const { return m_nState; }
    int GetSelected() const { return m_nSelected; }
    int GetGrip() const { return m_nGrip; }
    int GetObjectCount() const { return int(m_objects.size()); }
    // Out of range raises std::out_of_range.
    const CPaintObject& GetObjectAt(int index) const { return m_objects.at(size_t(index)); }
    // Nothing in the program sets the bypass: the painter always composes.
    bool IsBypass() const { return m_bBypass; }
    bool IsEnabled() const { return m_bEnabled; }
    void SetEnabled(bool bEnabled) { m_bEnabled = bEnabled; }

private:
    bool IsDrawable(int index) const;
    // -1 when no paint object wraps it.
    int FindPaintObject(const CDrawDataObject* pObject) const;
    CRect ViewRect() const { return CRect(0, 0, m_nWidth, m_nHeight); }
    CRect Grown(const CRect& rect, int by) const;
    CPaintObject MakePaintObject(CDrawDataObject* pObject) const;
    // The pixel maps of the view's two axes, built as the view builds its own, so that an
    // object lies on the pixels whose positions the view gives it.
    void UpdatePixelMaps();
    int GripTest(const CPaintObject& object, CPoint point) const;
    // The cursor of a grip, -1 for none.
    static int GripCursor(int32_t nType, int nGrip);

    // The pixels of one object's shapes: its fill and outline as drawn, and the outline of
    // its frame (a one-pixel pen for rectangles and circles, a line's own width for its mask).
    struct CObjectSpans
    {
        std::vector<CShapeSpan> fill;
        std::vector<CShapeSpan> outline;
        std::vector<CShapeSpan> frame;
    };

    void Compose();
    void TakeSpans(const CPaintObject& object, bool bFrames, CObjectSpans& spans);
    // The object drawn onto the work surface and the box blended onto the composite.
    void BlendBox(const CPaintObject& object, const CRect& r, int alpha);
    // The object's frame into the frame surface and its mask into the id surface, with the fill
    // step in overlay mode.
    void MarkFrame(const CPaintObject& object, const CObjectSpans& spans, bool bFillStep);
    void DrawObject(CDC& dc, const CPaintObject& object) const;
    // The edit copy's frame, straight onto the surface.
    void DrawFrame(CDC& dc, const CPaintObject& object) const;
    void DrawSelectionMarks(const CPaintObject& object);
    void PaintIds();

    // The edit copy over the composition without it: saved into the work and frame surfaces,
    // then drawn.
    void SaveEditBackground();
    void DrawEditCopy();
    void StartCreation(CPoint point, float hoverX, float hoverY, float depth);
    void StartMove(int nGrip, CPoint point);
    void MoveEditCopy(CPoint point);
    bool EndEdit(CPoint point, float hoverX, float hoverY, float depth);
    void Post(int nCode, int nArgument) const;

    IDataViewPainterHelper* m_pView = nullptr;
    CWnd* m_pViewWnd = nullptr;
    Tovrik::CMemDC m_work;      // the composition without the object being edited
    Tovrik::CMemDC m_composite; // the view image with the objects
    Tovrik::CMemDC m_ids;       // objects in their identity colours; the frame mask
    Tovrik::CMemDC m_frame;     // the edit copy over the composition; the frames' colours
    CShapeRaster m_shapes;
    Tovrik::CMemDC* m_pSource = nullptr;
    CPen m_defaultPen;
    CBrush m_defaultBrush;
    int32_t m_nMode = MODE_TOP;
    int32_t m_iSizeX = 0;
    int32_t m_iSizeY = 0;
    int32_t m_iSamples = 0;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    CResampMap m_acrossMap; // pixel columns onto grid positions along the view
    CResampMap m_downMap;   // pixel rows onto grid rows (top view, counted upwards) or samples
    int32_t m_nState = STATE_IDLE;
    std::vector<CPaintObject> m_objects; // drawing order
    CPaintObject m_edit;
    CDrawDataObject m_editObject;
    bool m_bEditFirstEnd = true; // a line's grip holds its first end
    int32_t m_nSelected = -1;
    int32_t m_nGrip = GRIP_NONE;
    CPoint m_ptPress;
    float m_fPressX = 0, m_fPressY = 0, m_fPressDepth = 0;
    CPoint m_ptCurrent;
    float m_fDepth = 0; // of the top view's slice
    float m_fBelow = 3.0f; // samples below the slice an object may lie and still show
    float m_fAbove = 7.0f; // likewise above
    bool m_bBypass = false;
    bool m_bEnabled = true;
};
