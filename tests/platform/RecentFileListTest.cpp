// The recent-file list in Qt's settings file: damaged keys and a file that is not a regular one.

#include "RecentFileList.h"

#include "TestSupport.h"
#include "Values.h"

#include <QStandardPaths>
#include <chrono>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// The settings file of organisation "Tovrik", application "quarvel", and its copies; the
// folder holds the message log too.
class RecentFileListTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_folder = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/Tovrik";
        std::filesystem::create_directories(m_folder);
        RemoveFiles();
    }
    void TearDown() override { RemoveFiles(); }

    std::string File() const { return m_folder + "/quarvel.conf"; }
    void RemoveFiles() const
    {
        for (const char* suffix : {"", ".old", ".old.1"})
            std::filesystem::remove_all(File() + suffix);
    }

    static std::vector<std::wstring> Entries(const CRecentFileList& list)
    {
        std::vector<std::wstring> entries;
        for (int i = 0; i < list.GetCount(); ++i)
            entries.push_back(list[i]);
        return entries;
    }

    std::string m_folder;
};

} // namespace

TEST_F(RecentFileListTest, ADamagedKeyKeepsTheEntriesReadAndTheFileAsItWas)
{
    const std::string head = "[Recent%20File%20List]\nFile1=/p/a.rhd\n";
    const std::string tail = "File3=/p/c.rhd\nFile4=/p/d.rhd\n";
    const struct { const char* name; std::string text; std::vector<std::wstring> read; } cases[] = {
        {"no value", head + "File2\n" + tail, {L"/p/a.rhd", L"/p/c.rhd", L"/p/d.rhd"}},
        {"key in other case", head + "file2=/p/b.rhd\n" + tail, {L"/p/a.rhd", L"/p/c.rhd", L"/p/d.rhd"}},
        {"not a text", head + "File2=@Variant(\\0\\0)\n" + tail, {L"/p/a.rhd", L"/p/c.rhd", L"/p/d.rhd"}},
        {"a list", head + "File2=/p/b, c.rhd\n" + tail, {L"/p/a.rhd", L"/p/c.rhd", L"/p/d.rhd"}},
        {"zero byte", head + std::string("File2=/p/b\0.rhd\n", 17) + tail, {L"/p/a.rhd", L"/p/d.rhd"}},
        {"key twice", head + "File2=/p/b.rhd\nFile2 = /p/x.rhd\n" + tail, {L"/p/a.rhd", L"/p/x.rhd", L"/p/c.rhd", L"/p/d.rhd"}},
        {"not UTF-8", head + "File2=/p/\xE9.rhd\n" + tail, {L"/p/a.rhd", L"/p/c.rhd", L"/p/d.rhd"}},
        {"open quote", head + "File2=\"/p/b.rhd\n" + tail, {L"/p/a.rhd"}},
        {"broken group", head + "File2=/p/b.rhd\n[\n" + tail, {L"/p/a.rhd", L"/p/b.rhd"}},
        {"fifth entry", head + "File2=/p/b.rhd\n" + tail + "File5=/p/e.rhd\n",
         {L"/p/a.rhd", L"/p/b.rhd", L"/p/c.rhd", L"/p/d.rhd"}},
    };
    auto age = std::chrono::hours(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveFiles();
        WriteFileBytes(File(), c.text);
        // Qt's settings take a file of the size and time they wrote last for unchanged.
        std::filesystem::last_write_time(File(), std::filesystem::last_write_time(File()) - (age += std::chrono::hours(1)));
        CRecentFileList list(4);
        list.ReadList();
        EXPECT_EQ(Entries(list), c.read);

        // The first change writes the list, and the file as it was stays beside it, once.
        list.Add(L"/p/new.rhd");
        list.Add(L"/p/newer.rhd");
        EXPECT_EQ(ReadFileBytes(File() + ".old"), c.text);
        EXPECT_FALSE(std::filesystem::exists(File() + ".old.1"));
        CRecentFileList again(4);
        again.ReadList();
        EXPECT_EQ(Entries(again), Entries(list));
        EXPECT_EQ(again[0], L"/p/newer.rhd");
    }

    // A sound file is written over without a copy.
    std::filesystem::remove(File() + ".old");
    CRecentFileList sound(4);
    sound.ReadList();
    sound.Remove(0);
    EXPECT_EQ(sound.GetCount(), 3);
    EXPECT_FALSE(std::filesystem::exists(File() + ".old"));
}

TEST_F(RecentFileListTest, OnlyARegularFileIsReadOrWritten)
{
    const struct { const char* name; void (*make)(const std::string&); } cases[] = {
        {"FIFO", [](const std::string& path) { ASSERT_EQ(mkfifo(path.c_str(), 0644), 0); }},
        {"folder", [](const std::string& path) { std::filesystem::create_directory(path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveFiles();
        c.make(File());
        const auto type = std::filesystem::symlink_status(File()).type();
        ClearLog();
        CRecentFileList list(4);
        list.ReadList();
        EXPECT_EQ(list.GetCount(), 0);
        EXPECT_NE(ReadLog().find("not a regular file"), std::string::npos);

        // The list works for the run, and the stand-in stays.
        list.Add(L"/p/a.rhd");
        ASSERT_EQ(list.GetCount(), 1);
        EXPECT_EQ(list[0], L"/p/a.rhd");
        EXPECT_EQ(std::filesystem::symlink_status(File()).type(), type);
        EXPECT_FALSE(std::filesystem::exists(File() + ".old"));
    }
}

TEST_F(RecentFileListTest, EntriesKeepTheBytesOfTheirFileNames)
{
    // A name that is not UTF-8 (U+DCxx stand for its bytes) comes back as it was written.
    const std::vector<std::wstring> paths = {L"/p/\xDCE9t\xDCE9.rhd", L"/p/j\u00fcrgen.rhd"};
    CRecentFileList list(4);
    list.ReadList();
    for (const std::wstring& path : paths)
        list.Add(path);
    CRecentFileList again(4);
    again.ReadList();
    EXPECT_EQ(Entries(again), (std::vector<std::wstring>{paths[1], paths[0]}));
}

TEST_F(RecentFileListTest, EveryPathTheProgramListsReadsBackWithoutACopy)
{
    // Names a file system gives: blanks, line breaks, bytes that are not UTF-8 (U+DCxx), and
    // U+FFFD itself, which must not be taken for bytes that Qt could not decode.
    const std::vector<std::wstring> names = {
        L"/p/my site/3D_a b.rhd", L"/p/line\nbreak.rhd", L"/p/cr\r.rhd",    L"/p/\xDCE9t\xDCE9.rhd",
        L"/p/\uFFFD.rhd",         L"/p/\uFFFD\xDCFF\n.rhd", L"/p/a=b;c,d.rhd", L"/p/\"quoted\" & more.rhd",
    };
    for (const std::wstring& name : names) {
        RemoveFiles();
        CRecentFileList list(4);
        list.ReadList();
        list.Add(L"/p/other.rhd");
        list.Add(name);
        for (int run = 0; run < 2; ++run) {
            CRecentFileList again(4);
            again.ReadList();
            ASSERT_EQ(again.GetCount(), 2) << ToAnsi(name);
            EXPECT_EQ(again[run], name);
            const std::wstring older = again[1];
            again.Add(older); // a change writes the list
        }
        EXPECT_FALSE(std::filesystem::exists(File() + ".old")) << ToAnsi(name);
    }
}
