#pragma once
// The project header of the printed page: the project's name, size, depth, velocity and
// cross-hair depth in one block, its grid size, samples, trace interval and zero level in a
// second, always in metres. Placed by the page's layout like a group of controls.

#include "Containable.h"

#include <string>
#include <vector>

class CDC;
class CProject;

class CPrintProjectHeader : public ICContainable
{
public:
    // The offsets below are device pixels of a page at this resolution; the texts fill a row
    // of HEIGHT pixels there.
    enum : int { REFERENCE_DPI = 600, HEIGHT = 700 };

    struct CText
    {
        int x;
        int y;
        std::wstring text;
    };

    // The project (not owned) whose figures are printed; null prints nothing.
    void SetProject(const CProject* pProject) { m_pProject = pProject; }
    // The labels and values in writing order, at their offsets for a REFERENCE_DPI page;
    // empty without a project.
    std::vector<CText> GetTexts() const;
    // Writes the texts in the context's current font, the offsets scaled to its resolution,
    // from the header's top-left corner.
    void Draw(CDC* pDC) const;
    // A length of a REFERENCE_DPI page on a page of dpi dots per inch.
    static int ToDevice(int length, int dpi);

    CSize GetSize() const override { return m_rect.Size(); }
    CSize GetMinSize() const override { return CSize(1, 1); }
    void SetRect(const CRect& rect) override { m_rect = rect; }
    void Show(bool) override {}
    int GetID() const override { return 0; }

    const CRect& GetRect() const { return m_rect; }

private:
    CRect m_rect;
    const CProject* m_pProject = nullptr;
};
