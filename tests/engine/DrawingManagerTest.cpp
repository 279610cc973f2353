#include "DrawingManager.h"

#include "TestSupport.h"

#include <cfloat>
#include <chrono>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using Tovrik::CDrawDataObject;
using Tovrik::CDrawingManager;

namespace {

const std::string kHeader = "quarvel\tv1.4.0\r\n";
const std::string kRectLine = "rect\t1.50;2.00;10.00\t3.25;4.00;12.00\t64ff64\t1\t64ff64\t1\r\n";
const std::string kLineLine = "line\t-1.00;0.50;0.00\t7.00;8.00;9.00\tff\t2\tff\t0\r\n";
const std::string kCircleLine = "circle\t5.00;5.00;3.00\t6.00;6.00;3.00\tabcdef\t1\tabcdef\t1\r\n";
const std::string kZeroByte(1, '\0');

CDrawDataObject MakeObject(int type, float x1, uint32_t color)
{
    CDrawDataObject object;
    object.m_nType = type;
    object.m_fX1 = x1;
    object.m_fY1 = 2;
    object.m_fZ1 = 10;
    object.m_fX2 = 3.25f;
    object.m_fY2 = 4;
    object.m_fZ2 = 12;
    object.m_crFill = object.m_crLine = color;
    return object;
}

// Adds an object the way a painter does: in the current colour, with the current style.
CDrawDataObject* Draw(CDrawingManager& manager, int type, float x1, uint32_t color = 0x64FF64)
{
    manager.SetColor(color);
    return manager.AddObject(MakeObject(type, x1, color));
}

std::string CrLfToLf(std::string text)
{
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text;
}

std::string CrLfToCr(std::string text)
{
    for (size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at + 1, 1);
    return text;
}

std::vector<float> FirstXs(const CDrawingManager& manager)
{
    std::vector<float> xs;
    for (int i = 0; i < manager.GetCount(); ++i)
        xs.push_back(manager.GetObject(i)->m_fX1);
    return xs;
}

} // namespace

TEST(DrawingManager, DefaultsAfterResetDefaults)
{
    CDrawingManager manager;
    EXPECT_FALSE(manager.GetOverlay()); // constructed with the overlay off
    manager.SetVisibility(CDrawingManager::VISIBLE_HIDE);
    Draw(manager, CDrawDataObject::TYPE_RECT, 1, 0x123456);
    manager.SetBlendAlpha(7);
    manager.ResetDefaults();
    EXPECT_EQ(manager.GetCount(), 0);
    EXPECT_EQ(manager.GetTool(), CDrawingManager::TOOL_RECT);
    EXPECT_EQ(manager.GetColor(), 0x0064FF64u);
    EXPECT_EQ(manager.GetPenWidth(), 1);
    ASSERT_TRUE(manager.GetPen() && manager.GetBrush());
    EXPECT_EQ(manager.GetPen()->m_crColor, 0x0064FF64u);
    EXPECT_EQ(manager.GetPen()->m_nWidth, 1);
    EXPECT_EQ(manager.GetBrush()->m_crColor, 0x0064FF64u);
    EXPECT_EQ(manager.GetBlendAlpha(), 100);
    EXPECT_TRUE(manager.GetDrawFrame());
    EXPECT_TRUE(manager.GetOverlay());
    EXPECT_EQ(manager.GetSelected(), -1);
    EXPECT_FALSE(manager.IsBusy());
    EXPECT_FALSE(manager.IsDrawingMode());
    EXPECT_FALSE(manager.IsBufferFull());
    EXPECT_EQ(manager.GetVisibility(), CDrawingManager::VISIBLE_HIDE);
}

TEST(DrawingManager, IndexOperationsIgnoreIndicesOutOfRange)
{
    CDrawingManager manager;
    for (float x : {0.f, 1.f, 2.f, 3.f})
        Draw(manager, CDrawDataObject::TYPE_RECT, x);
    EXPECT_EQ(manager.GetObject(-1), nullptr);
    EXPECT_EQ(manager.GetObject(4), nullptr);
    EXPECT_EQ(manager.GetSelectedObject(), nullptr);
    manager.RemoveObject(-1);
    manager.RemoveObject(4);
    EXPECT_EQ(manager.GetCount(), 4);

    manager.SelectObject(2);
    manager.SelectObject(-1);
    manager.SelectObject(4);
    CDrawDataObject foreign;
    manager.SelectObject(&foreign);
    manager.SelectObject(static_cast<const CDrawDataObject*>(nullptr));
    EXPECT_EQ(manager.GetSelected(), 2);

    manager.RemoveObject(0); // below the selection: it moves down
    EXPECT_EQ(manager.GetSelected(), 1);
    EXPECT_EQ(manager.GetSelectedObject()->m_fX1, 2);
    manager.RemoveObject(2); // above it: it stays
    EXPECT_EQ(manager.GetSelected(), 1);
    manager.RemoveObject(1); // the selected one
    EXPECT_EQ(manager.GetSelected(), -1);
    EXPECT_EQ(FirstXs(manager), (std::vector<float>{1}));

    manager.SelectObject(manager.GetObject(0));
    EXPECT_EQ(manager.GetSelected(), 0);
    manager.RemoveAll();
    EXPECT_EQ(manager.GetSelected(), -1);
    EXPECT_EQ(manager.GetCount(), 0);
}

TEST(DrawingManager, ObjectsOfOneStyleShareThePenAndBrush)
{
    CDrawingManager manager;
    manager.SetTool(CDrawingManager::TOOL_LINE);
    EXPECT_EQ(manager.GetPenWidth(), 2);
    CDrawDataObject* a = Draw(manager, CDrawDataObject::TYPE_LINE, 0, 0x0000FF);
    CDrawDataObject* b = Draw(manager, CDrawDataObject::TYPE_LINE, 1, 0x0000FF);
    EXPECT_EQ(a->m_pPen, b->m_pPen);
    EXPECT_EQ(a->m_pBrush, b->m_pBrush);
    EXPECT_EQ(a->m_pPen->m_crColor, 0x0000FFu);
    EXPECT_EQ(a->m_pPen->m_nWidth, 2);

    manager.SetColor(0x00FF00);
    EXPECT_NE(manager.GetPen(), a->m_pPen);
    manager.SetColor(0x0000FF); // back to the style of the objects: theirs again
    EXPECT_EQ(manager.GetPen(), a->m_pPen);
    EXPECT_EQ(manager.GetBrush(), a->m_pBrush);

    manager.SetTool(CDrawingManager::TOOL_SELECT); // same colour, width 1: a new pen
    EXPECT_EQ(manager.GetPenWidth(), 1);
    EXPECT_NE(manager.GetPen(), a->m_pPen);
    EXPECT_EQ(manager.GetPen()->m_crColor, 0x0000FFu);
}

TEST(DrawingManager, CutCopyAndPasteMoveObjectsThroughTheBuffer)
{
    const struct {
        const char* name;
        int objects;
        int selected;
        bool cut;
        int pastes;
        std::vector<float> xs;
        int selectedAfter;
    } cases[] = {
        {"cut the last of three", 3, 2, true, 0, {0, 1}, 1},
        {"cut the middle", 3, 1, true, 0, {0, 2}, 1},
        {"cut the first", 3, 0, true, 0, {1, 2}, 0},
        {"cut the only", 1, 0, true, 0, {}, -1},
        {"cut and paste", 3, 0, true, 1, {1, 2, 0}, 2},
        {"copy and paste twice", 3, 1, false, 2, {0, 1, 2, 1, 1}, 4},
    };
    for (const auto& c : cases) {
        CDrawingManager manager;
        manager.SetDrawingMode(true);
        for (int i = 0; i < c.objects; ++i)
            Draw(manager, CDrawDataObject::TYPE_RECT, static_cast<float>(i));
        EXPECT_FALSE(manager.Paste()) << c.name; // the buffer is empty
        manager.SelectObject(c.selected);
        EXPECT_TRUE(c.cut ? manager.Cut() : manager.Copy()) << c.name;
        for (int i = 0; i < c.pastes; ++i)
            EXPECT_TRUE(manager.Paste()) << c.name;
        EXPECT_EQ(FirstXs(manager), c.xs) << c.name;
        EXPECT_EQ(manager.GetSelected(), c.selectedAfter) << c.name;
        EXPECT_TRUE(manager.IsBufferFull()) << c.name;
    }

    // Pasted copies are objects of their own.
    CDrawingManager manager;
    manager.SetDrawingMode(true);
    Draw(manager, CDrawDataObject::TYPE_RECT, 0);
    manager.SelectObject(0);
    ASSERT_TRUE(manager.Copy());
    ASSERT_TRUE(manager.Paste());
    manager.GetObject(1)->m_fX1 = 5;
    EXPECT_EQ(manager.GetObject(0)->m_fX1, 0);
    ASSERT_TRUE(manager.Paste());
    EXPECT_EQ(manager.GetObject(2)->m_fX1, 0);
    manager.ClearSelection();
    EXPECT_FALSE(manager.Cut());
    EXPECT_FALSE(manager.Copy());
}

TEST(DrawingManager, CutCopyAndPasteAreRefusedWhileBusyOrOutsideDrawingMode)
{
    for (const bool busy : {true, false}) {
        CDrawingManager manager;
        manager.SetDrawingMode(true);
        Draw(manager, CDrawDataObject::TYPE_RECT, 0);
        Draw(manager, CDrawDataObject::TYPE_RECT, 1);
        manager.SelectObject(0);
        ASSERT_TRUE(manager.Copy());
        manager.SelectObject(1);
        if (busy)
            manager.SetBusy(true);
        else
            manager.SetDrawingMode(false);
        EXPECT_FALSE(manager.Cut());
        EXPECT_FALSE(manager.Copy());
        EXPECT_FALSE(manager.Paste());
        EXPECT_EQ(FirstXs(manager), (std::vector<float>{0, 1}));
        EXPECT_EQ(manager.GetSelected(), 1);
        manager.SetBusy(false);
        manager.SetDrawingMode(true);
        ASSERT_TRUE(manager.Paste()); // the buffer still holds the first copy
        EXPECT_EQ(FirstXs(manager), (std::vector<float>{0, 1, 0}));
    }
}

TEST(DrawingManager, TheBufferKeepsItsStyleAfterTheObjectsAndTheStyleAreGone)
{
    CDrawingManager manager;
    manager.SetDrawingMode(true);
    Draw(manager, CDrawDataObject::TYPE_CIRCLE, 0, 0x112233);
    manager.SelectObject(0);
    ASSERT_TRUE(manager.Copy());
    manager.RemoveObject(0);
    manager.SetColor(0x445566);
    manager.SetTool(CDrawingManager::TOOL_LINE);
    ASSERT_TRUE(manager.Paste());
    const CDrawDataObject* pasted = manager.GetObject(0);
    ASSERT_TRUE(pasted->m_pPen && pasted->m_pBrush);
    EXPECT_EQ(pasted->m_pPen->m_crColor, 0x112233u);
    EXPECT_EQ(pasted->m_pPen->m_nWidth, 1);
    EXPECT_EQ(pasted->m_pBrush->m_crColor, 0x112233u);

    // A cut object's style lives in the buffer alone, across removing every object.
    manager.SelectObject(0);
    ASSERT_TRUE(manager.Cut());
    manager.RemoveAll();
    manager.SetColor(0x778899);
    ASSERT_TRUE(manager.Paste());
    ASSERT_TRUE(manager.Paste());
    EXPECT_EQ(manager.GetObject(0)->m_pPen->m_crColor, 0x112233u);
    EXPECT_EQ(manager.GetObject(1)->m_pBrush->m_crColor, 0x112233u);
    EXPECT_EQ(manager.GetPen()->m_crColor, 0x778899u);
}

TEST(DrawingManager, SavesTheObjectFile)
{
    CTempDir dir;
    const std::wstring path = dir.WFile("p.3qo");
    CDrawingManager manager;
    Draw(manager, CDrawDataObject::TYPE_RECT, 1.5f);
    CDrawDataObject line = MakeObject(CDrawDataObject::TYPE_LINE, -1, 0xFF);
    line.m_fY1 = 0.5f;
    line.m_fZ1 = 0;
    line.m_fX2 = 7;
    line.m_fY2 = 8;
    line.m_fZ2 = 9;
    line.m_nPenWidth = 2;
    line.m_bVisible = false;
    manager.SetColor(0xFF);
    manager.AddObject(line);
    ASSERT_TRUE(manager.SaveObjectList(path));
    EXPECT_EQ(ReadFileBytes(dir.File("p.3qo")), kHeader + kRectLine + kLineLine);

    // A failed save is reported.
    const std::wstring blocked = dir.WFile("missing/p.3qo");
    ClearLog();
    EXPECT_FALSE(manager.SaveObjectList(blocked));
    EXPECT_NE(ReadLog().find("File error:"), std::string::npos);

    // An empty list deletes the file; with no file there is nothing to do.
    manager.RemoveAll();
    ASSERT_TRUE(manager.SaveObjectList(path));
    EXPECT_FALSE(std::filesystem::exists(dir.File("p.3qo")));
    EXPECT_TRUE(manager.SaveObjectList(path));
}

TEST(DrawingManager, AnObjectWithAnInfiniteCoordinateIsSavedReadableAndLogged)
{
    CTempDir dir;
    CDrawingManager manager;
    manager.LoadObjectList(dir.WFile("a.3qo"));
    Draw(manager, CDrawDataObject::TYPE_RECT, 1.5f);
    Draw(manager, CDrawDataObject::TYPE_LINE, std::numeric_limits<float>::infinity())->m_fZ2 =
        std::numeric_limits<float>::quiet_NaN();
    Draw(manager, CDrawDataObject::TYPE_CIRCLE, 2);
    ClearLog();
    ASSERT_TRUE(manager.SaveObjectList(dir.WFile("a.3qo")));
    EXPECT_NE(ReadLog().find("object 2 of 3 has a coordinate that is not a finite number"), std::string::npos)
        << ReadLog();
    EXPECT_FALSE(manager.IsModified());

    CDrawingManager again;
    ASSERT_TRUE(again.LoadObjectList(dir.WFile("a.3qo")));
    ASSERT_EQ(again.GetCount(), 3);
    EXPECT_EQ(again.GetObject(1)->m_fX1, FLT_MAX);
    EXPECT_EQ(again.GetObject(1)->m_fZ2, 0.0f);
    EXPECT_EQ(again.GetObject(2)->m_nType, CDrawDataObject::TYPE_CIRCLE);
}

TEST(DrawingManager, LoadAndSaveKeepTheFileAndTheUsersStyle)
{
    CTempDir dir;
    const std::string text = kHeader + kRectLine + kLineLine + kCircleLine;
    WriteFileBytes(dir.File("a.3qo"), text);
    CDrawingManager manager;
    manager.SetTool(CDrawingManager::TOOL_SELECT);
    manager.SetStyle(0x010203, 5);
    ASSERT_TRUE(manager.LoadObjectList(dir.WFile("a.3qo")));
    EXPECT_EQ(manager.GetObjectListPath(), dir.WFile("a.3qo"));
    ASSERT_EQ(manager.GetCount(), 3);
    EXPECT_EQ(manager.GetTool(), CDrawingManager::TOOL_SELECT);
    EXPECT_EQ(manager.GetColor(), 0x010203u);
    EXPECT_EQ(manager.GetPenWidth(), 5);

    // Each object is drawn with its fill colour and the width of its tool.
    const CDrawDataObject* line = manager.GetObject(1);
    EXPECT_EQ(line->m_nType, CDrawDataObject::TYPE_LINE);
    EXPECT_EQ(line->m_pPen->m_crColor, 0xFFu);
    EXPECT_EQ(line->m_pPen->m_nWidth, 2);
    EXPECT_EQ(manager.GetObject(2)->m_pPen->m_nWidth, 1);
    EXPECT_EQ(manager.GetObject(2)->m_pBrush->m_crColor, 0xABCDEFu);
    EXPECT_FALSE(manager.IsModified());

    ASSERT_TRUE(manager.SaveObjectList(dir.WFile("b.3qo")));
    EXPECT_EQ(ReadFileBytes(dir.File("b.3qo")), text);
    CDrawingManager again;
    ASSERT_TRUE(again.LoadObjectList(dir.WFile("b.3qo")));
    ASSERT_TRUE(again.SaveObjectList(dir.WFile("c.3qo")));
    EXPECT_EQ(ReadFileBytes(dir.File("c.3qo")), text);
    EXPECT_FALSE(again.IsModified());
}

TEST(DrawingManager, LoadFailuresKeepTheObjectsBeforeTheBadLine)
{
    const std::string bad = "rect\t1;2;3\t4;5;6\tff\t1\r\n";
    const struct {
        const char* name;
        std::string text;
        int count;
        bool ok;
        const char* logged;
    } cases[] = {
        {"header only", kHeader, 0, true, nullptr},
        {"header without CR", "quarvel v1.4.0", 0, false, "Error: LoadObjectList(): missing eol; parse error."},
        {"lines ended by LF", "quarvel\tv1.4.0\n" + CrLfToLf(kRectLine + kLineLine), 2, true, nullptr},
        {"lines ended by CR", "quarvel\r" + CrLfToCr(kRectLine + kCircleLine), 2, true, nullptr},
        {"header of another version", "quarvel\tv9\r\n" + kRectLine, 1, true, nullptr},
        {"no header: line 1 is an object", kRectLine + kLineLine, 2, false,
         "Error: LoadObjectList(): line 1 is not the file's header"},
        {"another program's header", "other\tv1.4.0\r\n" + kRectLine, 1, false,
         "Error: LoadObjectList(): line 1 is not the file's header"},
        {"header of a longer name", "quarvelx\tv1.4.0\r\n" + kRectLine, 1, false, "not the file's header"},
        {"bad line", kHeader + kRectLine + bad + kLineLine, 1, false,
         "Error: Failed to read and parse object list:\nEntire file:\n\tquarvel\tv1.4.0\r\n"},
        {"last line without CR LF", kHeader + kRectLine + "line\t0;0;0\t1;1;1\tff\t2\tff\t1", 1, false,
         "From:\n\tline\t0;0;0"},
        {"NaN coordinates", kHeader + "rect\tnan;nan;nan\t1;1;1\tff\t1\tff\t1\r\n", 0, false,
         "From:\n\trect\tnan"},
        {"zero byte after a line", kHeader + kRectLine + kZeroByte + kLineLine, 1, false,
         "Error: Object list has a zero byte at offset 72"},
        {"zero byte within a line", kHeader + kRectLine + "line\t0" + kZeroByte + ";0;0\t1;1;1\tff\t2\tff\t1\r\n",
         1, false, "zero byte"},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        WriteFileBytes(dir.File("a.3qo"), c.text);
        CDrawingManager manager;
        manager.SetTool(CDrawingManager::TOOL_CIRCLE);
        manager.SetColor(0x00AA00);
        Draw(manager, CDrawDataObject::TYPE_RECT, 9, 0x00AA00);
        manager.SelectObject(0);
        ClearLog();
        EXPECT_EQ(manager.LoadObjectList(dir.WFile("a.3qo")), c.ok) << c.name;
        EXPECT_EQ(manager.IsFileDamaged(), !c.ok) << c.name;
        EXPECT_EQ(manager.GetCount(), c.count) << c.name;
        EXPECT_EQ(manager.GetSelected(), -1) << c.name;
        EXPECT_EQ(manager.GetTool(), CDrawingManager::TOOL_CIRCLE) << c.name;
        EXPECT_EQ(manager.GetColor(), 0x00AA00u) << c.name;
        EXPECT_EQ(manager.GetPen()->m_crColor, 0x00AA00u) << c.name;
        if (c.logged) {
            EXPECT_NE(ReadLog().find(c.logged), std::string::npos) << c.name << "\n" << ReadLog();
        }
    }

    // A missing file or one too large to be an object file leaves an empty list.
    CTempDir dir;
    CDrawingManager manager;
    Draw(manager, CDrawDataObject::TYPE_RECT, 9);
    EXPECT_FALSE(manager.LoadObjectList(dir.WFile("none.3qo")));
    EXPECT_FALSE(manager.IsFileDamaged());
    EXPECT_EQ(manager.GetCount(), 0);
    WriteFileBytes(dir.File("big.3qo"), kHeader);
    std::filesystem::resize_file(dir.File("big.3qo"), 32 * 1024 * 1024);
    ClearLog();
    EXPECT_FALSE(manager.LoadObjectList(dir.WFile("big.3qo")));
    EXPECT_NE(ReadLog().find("too large"), std::string::npos);
    EXPECT_TRUE(manager.IsFileDamaged());
    EXPECT_TRUE(manager.IsModified());
}

TEST(DrawingManager, AFileThatFailedToLoadIsKeptOnceOnTheFirstSaveBesideEarlierCopies)
{
    const auto write = [](const std::string& path, const std::string& text) { WriteFileBytes(path, text); };
    const struct {
        const char* name;
        std::function<void(const std::string&)> make;
        int loaded; // objects read before the failure
    } cases[] = {
        {"bad line", [&](const std::string& p) { write(p, kHeader + kRectLine + "rect\tjunk\r\n" + kLineLine); }, 1},
        {"unknown type", [&](const std::string& p) { write(p, kHeader + "box\t0;0;0\t1;1;1\tff\t1\tff\t1\r\n"); }, 0},
        {"zero byte", [&](const std::string& p) { write(p, kHeader + kRectLine + kZeroByte + kLineLine); }, 1},
        {"no header", [&](const std::string& p) { write(p, kRectLine + kLineLine); }, 2},
        {"over 16 MB", [&](const std::string& p) {
             write(p, kHeader + kRectLine);
             std::filesystem::resize_file(p, 16 * 1024 * 1024 + 1);
         }, 0},
        {"FIFO", [](const std::string& p) { ASSERT_EQ(mkfifo(p.c_str(), 0644), 0); }, 0},
    };
    for (const bool bEmptied : {false, true}) {
        for (const auto& c : cases) {
            const std::string name = std::string(c.name) + (bEmptied ? ", list emptied" : "");
            CTempDir dir;
            const std::string path = dir.File("a.3qo");
            c.make(path);
            const auto type = std::filesystem::status(path).type();
            const auto size = type == std::filesystem::file_type::regular ? std::filesystem::file_size(path) : 0;
            WriteFileBytes(path + ".bak", "older backup");
            CDrawingManager manager;
            EXPECT_FALSE(manager.LoadObjectList(Wide(path))) << name;
            EXPECT_TRUE(manager.IsFileDamaged()) << name;
            EXPECT_EQ(manager.GetCount(), c.loaded) << name;
            if (bEmptied)
                manager.RemoveAll();
            else
                Draw(manager, CDrawDataObject::TYPE_CIRCLE, 5);
            EXPECT_TRUE(manager.IsModified()) << name;

            ASSERT_TRUE(manager.SaveObjectList(Wide(path))) << name;
            EXPECT_FALSE(manager.IsFileDamaged()) << name;
            EXPECT_EQ(ReadFileBytes(path + ".bak"), "older backup") << name;
            EXPECT_EQ(std::filesystem::status(path + ".bak.1").type(), type) << name;
            if (type == std::filesystem::file_type::regular) {
                EXPECT_EQ(std::filesystem::file_size(path + ".bak.1"), size) << name;
            }
            EXPECT_EQ(std::filesystem::exists(path), !bEmptied) << name;

            // Later saves are ordinary ones: the copies stay as they are.
            Draw(manager, CDrawDataObject::TYPE_RECT, 7);
            ASSERT_TRUE(manager.SaveObjectList(Wide(path))) << name;
            EXPECT_FALSE(manager.IsModified()) << name;
            EXPECT_EQ(std::filesystem::status(path + ".bak.1").type(), type) << name;
            EXPECT_FALSE(std::filesystem::exists(path + ".bak.2")) << name;
        }
    }
}

TEST(DrawingManager, EachDamagedLoadKeepsItsOwnCopy)
{
    CTempDir dir;
    const std::string path = dir.File("a.3qo");
    const std::string first = kHeader + kRectLine + "rect\tjunk\r\n";
    const std::string second = kHeader + kLineLine + "line\tjunk\r\n";
    CDrawingManager manager;
    for (const std::string& damaged : {first, second}) {
        WriteFileBytes(path, damaged);
        EXPECT_FALSE(manager.LoadObjectList(Wide(path)));
        ASSERT_TRUE(manager.SaveObjectList(Wide(path)));
    }
    EXPECT_EQ(ReadFileBytes(path + ".bak"), first);
    EXPECT_EQ(ReadFileBytes(path + ".bak.1"), second);
    EXPECT_EQ(ReadFileBytes(path), kHeader + kLineLine);
}

TEST(DrawingManager, TheSaveAfterADamagedLoadWritesThroughASymbolicLink)
{
    CTempDir dir;
    std::filesystem::create_directory(dir.File("shared"));
    const std::string damaged = kHeader + kRectLine + "rect\tjunk\r\n" + kLineLine;
    WriteFileBytes(dir.File("shared/objects.3qo"), damaged);
    ASSERT_EQ(symlink("shared/objects.3qo", dir.File("a.3qo").c_str()), 0);
    CDrawingManager manager;
    EXPECT_FALSE(manager.LoadObjectList(dir.WFile("a.3qo")));
    EXPECT_TRUE(manager.IsFileDamaged());
    Draw(manager, CDrawDataObject::TYPE_CIRCLE, 5);
    ASSERT_TRUE(manager.SaveObjectList(dir.WFile("a.3qo")));

    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("a.3qo")));
    EXPECT_FALSE(std::filesystem::is_symlink(dir.File("a.3qo.bak")));
    EXPECT_EQ(ReadFileBytes(dir.File("a.3qo.bak")), damaged);
    EXPECT_FALSE(manager.IsModified());
    CDrawingManager again;
    ASSERT_TRUE(again.LoadObjectList(dir.WFile("shared/objects.3qo")));
    EXPECT_EQ(again.GetCount(), 2);
}

TEST(DrawingManager, AnEmptySaveLeavesALinkThatLeadsToNoFile)
{
    for (const char* target : {"nowhere.3qo", "a.3qo"}) {
        CTempDir dir;
        ASSERT_EQ(symlink(target, dir.File("a.3qo").c_str()), 0);
        CDrawingManager manager;
        EXPECT_FALSE(manager.LoadObjectList(dir.WFile("a.3qo"))) << target;
        ASSERT_TRUE(manager.SaveObjectList(dir.WFile("a.3qo"))) << target;
        EXPECT_TRUE(std::filesystem::is_symlink(dir.File("a.3qo"))) << target;
        EXPECT_EQ(std::filesystem::read_symlink(dir.File("a.3qo")), target) << target;
    }

    // A link to an object file stays; the file it leads to goes, as a save writes through it.
    CTempDir dir;
    WriteFileBytes(dir.File("objects.3qo"), kHeader + kRectLine);
    ASSERT_EQ(symlink("objects.3qo", dir.File("a.3qo").c_str()), 0);
    CDrawingManager manager;
    ASSERT_TRUE(manager.LoadObjectList(dir.WFile("a.3qo")));
    manager.RemoveAll();
    ASSERT_TRUE(manager.SaveObjectList(dir.WFile("a.3qo")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("a.3qo")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("objects.3qo")));
    EXPECT_FALSE(manager.IsModified());
    Draw(manager, CDrawDataObject::TYPE_RECT, 1.5f);
    ASSERT_TRUE(manager.SaveObjectList(dir.WFile("a.3qo")));
    EXPECT_EQ(ReadFileBytes(dir.File("objects.3qo")), kHeader + kRectLine);
}

TEST(DrawingManager, AFileWithoutReadPermissionIsKept)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    CTempDir dir;
    WriteFileBytes(dir.File("a.3qo"), kHeader + kRectLine);
    chmod(dir.File("a.3qo").c_str(), 0200);
    CDrawingManager manager;
    EXPECT_FALSE(manager.LoadObjectList(dir.WFile("a.3qo")));
    EXPECT_TRUE(manager.IsFileDamaged());
    ASSERT_TRUE(manager.SaveObjectList(dir.WFile("a.3qo")));
    EXPECT_TRUE(std::filesystem::exists(dir.File("a.3qo.bak")));
}

TEST(DrawingManager, AnEmptyListOfAGoodFileDeletesIt)
{
    CTempDir dir;
    WriteFileBytes(dir.File("a.3qo"), kHeader + kRectLine);
    CDrawingManager manager;
    ASSERT_TRUE(manager.LoadObjectList(dir.WFile("a.3qo")));
    EXPECT_FALSE(manager.IsFileDamaged());
    manager.RemoveAll();
    ASSERT_TRUE(manager.SaveObjectList(dir.WFile("a.3qo")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.3qo")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("a.3qo.bak")));

    // A file that cannot be read and was never loaded is not replaced.
    ASSERT_EQ(mkfifo(dir.File("b.3qo").c_str(), 0644), 0);
    Draw(manager, CDrawDataObject::TYPE_RECT, 1);
    EXPECT_FALSE(manager.SaveObjectList(dir.WFile("b.3qo")));
    EXPECT_TRUE(std::filesystem::is_fifo(dir.File("b.3qo")));
}

TEST(DrawingManager, IsModifiedComparesTheListWithTheFileAsWritten)
{
    const std::string rect2 = "rect\t2.00;2.00;10.00\t3.25;4.00;12.00\t64ff64\t1\t64ff64\t1\r\n";
    const std::string rectAt1 = "rect\t1.00;2.00;10.00\t3.25;4.00;12.00\t64ff64\t1\t64ff64\t1\r\n";
    const struct {
        const char* name;
        const char* file; // nullptr: no file
        std::string text;
        std::vector<float> xs; // rectangles of colour 0x64FF64 at these first x
        bool modified;
        const char* logged;
    } cases[] = {
        {"no file, no objects", nullptr, "", {}, false, nullptr},
        {"no file, objects", nullptr, "", {1.5f}, true, nullptr},
        {"file with objects, no objects", "", kHeader + kRectLine, {}, true, nullptr},
        {"same objects", "", kHeader + kRectLine + rect2, {1.5f, 2}, false, nullptr},
        {"reverse order", "", kHeader + rect2 + kRectLine, {1.5f, 2}, false, nullptr},
        {"one file object for two", "", kHeader + kRectLine + rect2, {1.5f, 1.5f}, true, nullptr},
        {"other count", "", kHeader + kRectLine, {1.5f, 1.5f}, true, nullptr},
        {"moved", "", kHeader + kRectLine, {1.51f}, true, nullptr},
        {"same when written with two decimals", "", kHeader + rectAt1, {1.004f}, false, nullptr},
        {"other colour", "", kHeader + kCircleLine, {5}, true, nullptr},
        {"bad file line", "", kHeader + kRectLine + "rect\t1\r\n", {1.5f, 1.5f}, true, nullptr},
        {"header only, no objects", "", kHeader, {}, true, nullptr},
        {"no CR", "", "quarvel", {1.5f}, true,
         "Error: DrawingMangager::IsModified(): Reading beond buffer, missing \\r."},
        {"header ended by CR, no objects", "", "quarvel\r", {1.5f}, true, nullptr},
        {"same objects, lines ended by LF", "", CrLfToLf(kHeader + rect2 + kRectLine), {1.5f, 2}, false, nullptr},
        {"no header", "", kRectLine + rect2, {2}, true, nullptr},
        {"zero byte after the objects", "", kHeader + kRectLine + kZeroByte + rect2, {1.5f}, true,
         nullptr},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        CDrawingManager manager;
        manager.LoadObjectList(dir.WFile("a.3qo"));
        for (float x : c.xs)
            Draw(manager, CDrawDataObject::TYPE_RECT, x);
        if (c.file)
            WriteFileBytes(dir.File("a.3qo"), c.text);
        ClearLog();
        EXPECT_EQ(manager.IsModified(), c.modified) << c.name;
        if (c.logged) {
            EXPECT_NE(ReadLog().find(c.logged), std::string::npos) << c.name;
        }
    }
}

TEST(DrawingManager, IsModifiedIsFalseRightAfterSavingDrawnObjects)
{
    CTempDir dir;
    const std::wstring path = dir.WFile("a.3qo");
    CDrawingManager manager;
    manager.LoadObjectList(path);
    Draw(manager, CDrawDataObject::TYPE_RECT, 1.23456f);
    CDrawDataObject* circle = Draw(manager, CDrawDataObject::TYPE_CIRCLE, 0.001f, 0x00FFFF);
    circle->m_crLine = 0x123456; // written with its pen's colour
    EXPECT_TRUE(manager.IsModified());
    ASSERT_TRUE(manager.SaveObjectList(path));
    EXPECT_FALSE(manager.IsModified());
    circle->m_bVisible = false;
    EXPECT_TRUE(manager.IsModified());
}

// Opens of the file while the watch lives.
class CFileOpenWatch
{
public:
    explicit CFileOpenWatch(const std::string& path) : m_fd(inotify_init1(IN_NONBLOCK))
    {
        EXPECT_GE(inotify_add_watch(m_fd, path.c_str(), IN_OPEN), 0) << path;
    }
    ~CFileOpenWatch() { close(m_fd); }
    int Opens() const
    {
        alignas(inotify_event) char buffer[4096];
        int opens = 0;
        for (ssize_t n; (n = read(m_fd, buffer, sizeof buffer)) > 0;)
            for (ssize_t at = 0; at < n; at += ssize_t(sizeof(inotify_event)) + reinterpret_cast<inotify_event*>(buffer + at)->len)
                opens += (reinterpret_cast<inotify_event*>(buffer + at)->mask & IN_OPEN) != 0;
        return opens;
    }

private:
    int m_fd;
};

TEST(DrawingManager, IsModifiedComparesWithWhatWasLoadedOrSavedWithoutReadingTheFile)
{
    CTempDir dir;
    const std::wstring path = dir.WFile("a.3qo");
    WriteFileBytes(dir.File("a.3qo"), kHeader + kRectLine + kCircleLine + kLineLine);
    CDrawingManager manager;
    ASSERT_TRUE(manager.LoadObjectList(path));
    const CFileOpenWatch watch(dir.File("a.3qo"));
    EXPECT_FALSE(manager.IsModified());

    // Every change of the list shows.
    manager.GetObject(1)->m_fZ2 += 0.01f;
    EXPECT_TRUE(manager.IsModified());
    manager.GetObject(1)->m_fZ2 -= 0.01f;
    EXPECT_FALSE(manager.IsModified());
    manager.GetObject(2)->m_bVisible = true;
    EXPECT_TRUE(manager.IsModified());
    manager.GetObject(2)->m_bVisible = false;
    Draw(manager, CDrawDataObject::TYPE_RECT, 1.5f);
    EXPECT_TRUE(manager.IsModified());
    manager.RemoveObject(3);
    EXPECT_FALSE(manager.IsModified());
    manager.RemoveObject(0);
    EXPECT_TRUE(manager.IsModified());
    EXPECT_EQ(watch.Opens(), 0);

    // A save makes the list unmodified; what it wrote is kept, not read back.
    ASSERT_TRUE(manager.SaveObjectList(path));
    const CFileOpenWatch saved(dir.File("a.3qo"));
    EXPECT_FALSE(manager.IsModified());
    manager.GetObject(0)->m_fX1 = 9;
    EXPECT_TRUE(manager.IsModified());
    EXPECT_EQ(saved.Opens(), 0);
    manager.RemoveAll();
    ASSERT_TRUE(manager.SaveObjectList(path));
    EXPECT_FALSE(manager.IsModified());
    Draw(manager, CDrawDataObject::TYPE_LINE, 1);
    EXPECT_TRUE(manager.IsModified());
}

TEST(DrawingManager, IsModifiedReadsAFileChangedSinceItWasLoadedOrSaved)
{
    CTempDir dir;
    const std::wstring path = dir.WFile("a.3qo");
    const std::string file = dir.File("a.3qo");
    const struct
    {
        const char* name;
        std::function<void()> change;
        bool modified;
    } cases[] = {
        {"written again with the same objects", [&] { WriteFileBytes(file, kHeader + kCircleLine + kRectLine); }, false},
        {"another object", [&] { WriteFileBytes(file, kHeader + kRectLine + kLineLine); }, true},
        {"damaged", [&] { WriteFileBytes(file, kHeader + kRectLine + "rect\t1\r\n"); }, true},
        {"removed", [&] { std::filesystem::remove(file); }, true},
    };
    for (const auto& c : cases) {
        for (bool bSaved : {false, true}) {
            WriteFileBytes(file, kHeader + kRectLine + kCircleLine);
            CDrawingManager manager;
            ASSERT_TRUE(manager.LoadObjectList(path));
            if (bSaved) {
                ASSERT_TRUE(manager.SaveObjectList(path));
            }
            ASSERT_FALSE(manager.IsModified()) << c.name;
            // A later modification time, as a rewrite within the same clock tick might not get.
            c.change();
            if (std::filesystem::exists(file))
                std::filesystem::last_write_time(file, std::filesystem::last_write_time(file) + std::chrono::seconds(2));
            EXPECT_EQ(manager.IsModified(), c.modified) << c.name << (bSaved ? ", after a save" : ", after the load");
        }
    }
    // A file that appears where none was loaded.
    std::filesystem::remove(file);
    CDrawingManager manager;
    EXPECT_FALSE(manager.LoadObjectList(path));
    EXPECT_FALSE(manager.IsModified());
    WriteFileBytes(file, kHeader + kRectLine);
    EXPECT_TRUE(manager.IsModified());
}

TEST(DrawingManager, SettingsKeysLiveBesideTheConfigurationKeys)
{
    CTempDir dir;
    const std::string cfg = "cfg.units:1\r\nunknown:x\r\ndrawing.blendalpha:50\r\n"
                            "//note\r\ncfg.layout:2\r\n";
    WriteFileBytes(dir.File("quarvel.cfg"), cfg);
    CDrawingManager manager;
    manager.LoadSettings(dir.WFile("quarvel.cfg"));
    EXPECT_EQ(manager.GetBlendAlpha(), 50);
    EXPECT_EQ(manager.GetColor(), 0x0064FF64u); // missing keys leave the defaults
    EXPECT_TRUE(manager.GetDrawFrame());
    EXPECT_FALSE(manager.GetOverlay());
    EXPECT_EQ(manager.GetVisibility(), CDrawingManager::VISIBLE_ALL);

    manager.SetColor(0xABCDEF);
    manager.SetBlendAlpha(200);
    manager.SetDrawFrame(false);
    manager.SetOverlay(true);
    manager.SetVisibility(CDrawingManager::VISIBLE_RANGE);
    ASSERT_TRUE(manager.SaveSettings(dir.WFile("quarvel.cfg")));
    EXPECT_EQ(ReadFileBytes(dir.File("quarvel.cfg")),
              "cfg.units:1\r\nunknown:x\r\ndrawing.blendalpha:200\r\ncfg.layout:2\r\n"
              "drawing.color:abcdef\r\ndrawing.drawframe:0\r\ndrawing.overlay:1\r\n"
              "drawing.visible:range\r\n");

    CDrawingManager loaded;
    loaded.LoadSettings(dir.WFile("quarvel.cfg"));
    EXPECT_EQ(loaded.GetColor(), 0xABCDEFu);
    EXPECT_EQ(loaded.GetPen()->m_crColor, 0xABCDEFu);
    EXPECT_EQ(loaded.GetBlendAlpha(), 200);
    EXPECT_FALSE(loaded.GetDrawFrame());
    EXPECT_TRUE(loaded.GetOverlay());
    EXPECT_EQ(loaded.GetVisibility(), CDrawingManager::VISIBLE_RANGE);

    // A new file is written complete, with its folders.
    ASSERT_TRUE(loaded.SaveSettings(dir.WFile("new/folder/quarvel.cfg")));
    EXPECT_EQ(ReadFileBytes(dir.File("new/folder/quarvel.cfg")),
              "drawing.color:abcdef\r\ndrawing.blendalpha:200\r\ndrawing.drawframe:0\r\n"
              "drawing.overlay:1\r\ndrawing.visible:range\r\n");
}

TEST(DrawingManager, ReadsSettingsValuesByTheirRules)
{
    const struct {
        const char* name;
        std::string keys;
        uint32_t color;
        int alpha;
        bool frame;
        int visibility;
        bool bAsRead; // every value is written back as it stands
    } cases[] = {
        {"missing file", "", 0x64FF64, 100, true, 2, true},
        {"values", "drawing.color:ff\r\ndrawing.blendalpha:7\r\ndrawing.drawframe:0\r\n"
                   "drawing.visible:hide\r\n", 0xFF, 7, false, 2, true},
        {"alpha above 255", "drawing.blendalpha:300\r\n", 0x64FF64, 255, true, 0, false},
        {"alpha below 0", "drawing.blendalpha:-5\r\n", 0x64FF64, 0, true, 0, false},
        {"alpha not a number", "drawing.blendalpha:abc\r\n", 0x64FF64, 0, true, 0, false},
        {"empty values", "drawing.color:\r\ndrawing.blendalpha:\r\ndrawing.drawframe:\r\n",
         0x64FF64, 100, true, 0, false},
        {"flag by first character", "drawing.drawframe:10\r\n", 0x64FF64, 100, true, 0, false},
        {"colour not hex", "drawing.color:zz\r\n", 0x64FF64, 100, true, 0, false},
        {"colour beyond 32 bits", "drawing.color:123456789\r\n", 0xFFFFFFFF, 100, true, 0, false},
        {"visible is case-sensitive", "drawing.visible:Range\r\n", 0x64FF64, 100, true, 2, false},
        {"visible range", "drawing.visible:range\r\n", 0x64FF64, 100, true, 1, true},
        {"LF, CR and no final line end", "drawing.color:ff\ndrawing.blendalpha:7\rdrawing.visible:range",
         0xFF, 7, true, 1, true},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        if (!c.keys.empty())
            WriteFileBytes(dir.File("q.cfg"), "cfg.x:1\r\n" + c.keys);
        CDrawingManager manager;
        manager.SetVisibility(CDrawingManager::VISIBLE_HIDE);
        EXPECT_EQ(manager.LoadSettings(dir.WFile("q.cfg")), c.bAsRead) << c.name;
        EXPECT_EQ(manager.GetColor(), c.color) << c.name;
        EXPECT_EQ(manager.GetBlendAlpha(), c.alpha) << c.name;
        EXPECT_EQ(manager.GetDrawFrame(), c.frame) << c.name;
        EXPECT_EQ(manager.GetVisibility(), c.visibility) << c.name;
    }
}

TEST(DrawingManager, WhatTheProgramWritesReadsBackAsItselfWithoutACopy)
{
    // Objects as the painters and the object list can make them, at the ends of their ranges.
    const struct { const char* name; int type; float x1, y1, z1, x2, y2, z2; uint32_t color; bool bVisible; } cases[] = {
        {"rectangle at the origin", CDrawDataObject::TYPE_RECT, 0, 0, 0, 0, 0, 0, 0x000000, true},
        {"hidden line", CDrawDataObject::TYPE_LINE, 1.25f, 2.5f, 3.75f, 4, 5, 6, 0xFFFFFF, false},
        {"circle far out", CDrawDataObject::TYPE_CIRCLE, FLT_MAX, -FLT_MAX, 1e30f, -1e30f, 99999.99f, -0.0f, 0x64FF64, true},
        {"tiny values", CDrawDataObject::TYPE_RECT, 1e-30f, -1e-30f, 0.005f, 0.004f, -0.005f, 2047.99f, 0x010203, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CTempDir dir;
        const std::wstring path = dir.WFile("p.3qo");
        CDrawingManager manager;
        manager.LoadObjectList(path);
        manager.SetTool(c.type == CDrawDataObject::TYPE_LINE ? CDrawingManager::TOOL_LINE : CDrawingManager::TOOL_RECT);
        manager.SetColor(c.color);
        CDrawDataObject object;
        object.m_nType = c.type;
        object.m_fX1 = c.x1, object.m_fY1 = c.y1, object.m_fZ1 = c.z1;
        object.m_fX2 = c.x2, object.m_fY2 = c.y2, object.m_fZ2 = c.z2;
        object.m_crFill = object.m_crLine = c.color;
        object.m_nPenWidth = manager.GetPenWidth();
        object.m_bVisible = c.bVisible;
        manager.AddObject(object);
        Draw(manager, CDrawDataObject::TYPE_LINE, 1.5f);
        ASSERT_TRUE(manager.SaveObjectList(path));
        const std::string written = ReadFileBytes(dir.File("p.3qo"));
        for (int run = 0; run < 2; ++run) {
            CDrawingManager again;
            EXPECT_TRUE(again.LoadObjectList(path));
            EXPECT_FALSE(again.IsFileDamaged());
            EXPECT_FALSE(again.IsModified());
            ASSERT_EQ(again.GetCount(), 2);
            EXPECT_EQ(again.GetObject(0)->m_nType, c.type);
            EXPECT_EQ(again.GetObject(0)->m_crFill, c.color);
            EXPECT_EQ(again.GetObject(0)->m_bVisible, c.bVisible);
            again.GetObject(1)->m_fX1 = 1.5f; // an edit writes the file again
            ASSERT_TRUE(again.SaveObjectList(path));
            EXPECT_EQ(ReadFileBytes(dir.File("p.3qo")), written);
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 1);
    }
}
