#include "FileIo.h"

#include "TestSupport.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// What can stand in a file's place besides a file.
enum class TStandIn { Fifo, Folder };

void MakeStandIn(const std::string& path, TStandIn kind)
{
    if (kind == TStandIn::Fifo)
        ASSERT_EQ(mkfifo(path.c_str(), 0644), 0) << path;
    else
        ASSERT_TRUE(fs::create_directory(path)) << path;
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_mode & 07777;
}

} // namespace

TEST(FileIo, ReadersTakeRegularFilesOnlyAndNeverWait)
{
    // A FIFO without a writer would block an ordinary open for reading forever.
    for (const TStandIn kind : {TStandIn::Fifo, TStandIn::Folder}) {
        CTempDir dir;
        MakeStandIn(dir.File("x"), kind);
        for (const char* mode : {"rb", "r+b", "wb", "ab"}) {
            FILE* file = OpenFile(dir.WFile("x"), mode);
            EXPECT_EQ(file, nullptr) << mode;
            if (file)
                std::fclose(file);
        }
        CReadFile reader;
        EXPECT_NE(reader.Open(dir.WFile("x")), 0);
        EXPECT_FALSE(reader.IsOpen());
    }
    CTempDir dir;
    WriteFileBytes(dir.File("f"), "abc");
    FILE* file = OpenFile(dir.WFile("f"), "rb");
    ASSERT_NE(file, nullptr);
    char bytes[4] = {};
    EXPECT_EQ(std::fread(bytes, 1, 4, file), 3u);
    std::fclose(file);
    CReadFile reader;
    EXPECT_EQ(reader.Open(dir.WFile("f")), 0);
    EXPECT_EQ(reader.GetSize(), 3);
}

TEST(FileIo, UnreadableFilesAreNotMissing)
{
    const struct {
        const char* name;
        void (*make)(const CTempDir&);
        bool unreadable;
        const char* file = "x";
    } cases[] = {
        {"missing", [](const CTempDir&) {}, false},
        {"in a missing folder", [](const CTempDir&) {}, false, "none/x"},
        {"regular", [](const CTempDir& d) { WriteFileBytes(d.File("x"), "12345678"); }, false},
        {"at the size cap", [](const CTempDir& d) { WriteFileBytes(d.File("x"), std::string(10, 'a')); }, false},
        {"over the size cap", [](const CTempDir& d) { WriteFileBytes(d.File("x"), std::string(11, 'a')); }, true},
        {"FIFO", [](const CTempDir& d) { MakeStandIn(d.File("x"), TStandIn::Fifo); }, true},
        {"folder", [](const CTempDir& d) { MakeStandIn(d.File("x"), TStandIn::Folder); }, true},
        {"link to a file", [](const CTempDir& d) {
             WriteFileBytes(d.File("t"), "1");
             fs::create_symlink("t", d.File("x"));
         }, false},
    };
    for (const auto& c : cases) {
        CTempDir dir;
        c.make(dir);
        ClearLog();
        EXPECT_EQ(IsUnreadableFile(dir.WFile(c.file), 10), c.unreadable) << c.name;
        EXPECT_EQ(ReadLog().find("exists but cannot be read") != std::string::npos, c.unreadable) << c.name;
    }
}

TEST(FileIo, FileWithoutReadPermissionIsUnreadable)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    CTempDir dir;
    WriteFileBytes(dir.File("x"), "1");
    chmod(dir.File("x").c_str(), 0200);
    EXPECT_TRUE(IsUnreadableFile(dir.WFile("x"), 10));
}

TEST(FileIo, SaveKeepsTheModeAndWritesThroughLinks)
{
    CTempDir dir;
    const auto save = [](const std::wstring& path, const std::string& text) {
        CSaveFile file(path);
        return file.Open() && file.Write(text.data(), text.size()) && file.Commit();
    };

    WriteFileBytes(dir.File("kept"), "old");
    chmod(dir.File("kept").c_str(), 0640);
    ASSERT_TRUE(save(dir.WFile("kept"), "new"));
    EXPECT_EQ(ReadFileBytes(dir.File("kept")), "new");
    EXPECT_EQ(ModeOf(dir.File("kept")), 0640u);

    // A new file gets the usual permissions.
    const mode_t mask = umask(022);
    ASSERT_TRUE(save(dir.WFile("fresh"), "x"));
    umask(mask);
    EXPECT_EQ(ModeOf(dir.File("fresh")), 0644u);

    // Links, relative and absolute and in a chain, stay links; their target gets the text.
    fs::create_directory(dir.File("sub"));
    WriteFileBytes(dir.File("sub/target"), "old");
    chmod(dir.File("sub/target").c_str(), 0600);
    fs::create_symlink("sub/target", dir.File("relative"));
    fs::create_symlink(dir.File("relative"), dir.File("chain"));
    for (const char* link : {"relative", "chain"}) {
        ASSERT_TRUE(save(dir.WFile(link), link)) << link;
        EXPECT_TRUE(fs::is_symlink(dir.File(link))) << link;
        EXPECT_EQ(ReadFileBytes(dir.File("sub/target")), link);
        EXPECT_EQ(ModeOf(dir.File("sub/target")), 0600u);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.File("sub")), fs::directory_iterator()), 1);

    // A link whose target is missing creates the target.
    fs::create_symlink("sub/made", dir.File("dangling"));
    ASSERT_TRUE(save(dir.WFile("dangling"), "made"));
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling")));
    EXPECT_EQ(ReadFileBytes(dir.File("sub/made")), "made");

    // Nothing but a regular file is replaced.
    MakeStandIn(dir.File("pipe"), TStandIn::Fifo);
    CSaveFile pipe(dir.WFile("pipe"));
    EXPECT_FALSE(pipe.Open());
    EXPECT_NE(pipe.GetCause(), 0);
    EXPECT_TRUE(fs::is_fifo(dir.File("pipe")));
}

TEST(FileIo, SaveNeverReplacesAWriteProtectedFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes every file";
    CTempDir dir;
    WriteFileBytes(dir.File("protected"), "old");
    chmod(dir.File("protected").c_str(), 0444);
    fs::create_symlink("protected", dir.File("link"));
    for (const char* name : {"protected", "link"}) {
        CSaveFile file(dir.WFile(name));
        EXPECT_FALSE(file.Open() && file.Write("new", 3) && file.Commit()) << name;
        EXPECT_EQ(file.GetCause(), 5) << name;
        EXPECT_EQ(ReadFileBytes(dir.File("protected")), "old") << name;
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 2);
}

TEST(FileIo, RenameFileReplacesAnOlderFile)
{
    CTempDir dir;
    WriteFileBytes(dir.File("a"), "new");
    WriteFileBytes(dir.File("a.old"), "older");
    EXPECT_EQ(RenameFile(dir.WFile("a"), dir.WFile("a.old")), 0);
    EXPECT_FALSE(fs::exists(dir.File("a")));
    EXPECT_EQ(ReadFileBytes(dir.File("a.old")), "new");
    EXPECT_EQ(RenameFile(dir.WFile("a"), dir.WFile("b")), 2);
}

TEST(FileIo, KeepAsideNeverReplacesAnEarlierCopy)
{
    CTempDir dir;
    WriteFileBytes(dir.File("a.bak"), "first");
    WriteFileBytes(dir.File("a"), "second");
    EXPECT_EQ(KeepAside(dir.WFile("a"), L".bak", true), dir.WFile("a.bak.1"));
    WriteFileBytes(dir.File("a"), "third");
    EXPECT_EQ(KeepAside(dir.WFile("a"), L".bak", false), dir.WFile("a.bak.2"));
    EXPECT_FALSE(fs::exists(dir.File("a")));
    EXPECT_EQ(ReadFileBytes(dir.File("a.bak")), "first");
    EXPECT_EQ(ReadFileBytes(dir.File("a.bak.1")), "second");
    EXPECT_EQ(ReadFileBytes(dir.File("a.bak.2")), "third");

    int cause = 0;
    EXPECT_EQ(KeepAside(dir.WFile("missing"), L".bak", true, &cause), L"");
    EXPECT_EQ(cause, 2);
}

TEST(FileIo, KeepAsideCopiesThroughALinkOrMovesTheLink)
{
    CTempDir dir;
    WriteFileBytes(dir.File("target"), "objects");
    ASSERT_EQ(symlink("target", dir.File("link").c_str()), 0);
    EXPECT_EQ(KeepAside(dir.WFile("link"), L".bak", true), dir.WFile("link.bak"));
    EXPECT_TRUE(fs::is_symlink(dir.File("link")));
    EXPECT_FALSE(fs::is_symlink(dir.File("link.bak")));
    EXPECT_EQ(ReadFileBytes(dir.File("link.bak")), "objects");
    EXPECT_EQ(ReadFileBytes(dir.File("target")), "objects");

    EXPECT_EQ(KeepAside(dir.WFile("link"), L".old", false), dir.WFile("link.old"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.File("link"))));
    EXPECT_TRUE(fs::is_symlink(dir.File("link.old")));

    // A dangling link has no bytes to copy and stays.
    ASSERT_EQ(symlink("nowhere", dir.File("dangling").c_str()), 0);
    EXPECT_EQ(KeepAside(dir.WFile("dangling"), L".bak", true), L"");
    EXPECT_TRUE(fs::is_symlink(dir.File("dangling")));
}

TEST(FileIo, KeepAsideWithoutANoReplaceRenameLinksOrCopiesAndStillReplacesNothing)
{
    for (const bool bNoHardLinks : {false, true}) {
        SCOPED_TRACE(bNoHardLinks ? "no hard links" : "hard links");
        CTempDir dir;
        CNoRenameNoReplace noRename(bNoHardLinks);
        WriteFileBytes(dir.File("a.old"), "first");
        WriteFileBytes(dir.File("a"), "second");
        chmod(dir.File("a").c_str(), 0640);
        EXPECT_EQ(KeepAside(dir.WFile("a"), L".old", false), dir.WFile("a.old.1"));
        EXPECT_FALSE(fs::exists(dir.File("a")));
        EXPECT_EQ(ReadFileBytes(dir.File("a.old")), "first");
        EXPECT_EQ(ReadFileBytes(dir.File("a.old.1")), "second");
        EXPECT_EQ(ModeOf(dir.File("a.old.1")), 0640u);

        // A symbolic link is kept as a link; followed, its target's bytes are copied.
        WriteFileBytes(dir.File("target"), "objects");
        ASSERT_EQ(symlink("target", dir.File("link").c_str()), 0);
        EXPECT_EQ(KeepAside(dir.WFile("link"), L".bak", true), dir.WFile("link.bak"));
        EXPECT_TRUE(fs::is_symlink(dir.File("link")));
        EXPECT_EQ(ReadFileBytes(dir.File("link.bak")), "objects");
        EXPECT_EQ(KeepAside(dir.WFile("link"), L".old", false), dir.WFile("link.old"));
        EXPECT_FALSE(fs::exists(fs::symlink_status(dir.File("link"))));
        ASSERT_TRUE(fs::is_symlink(dir.File("link.old")));
        EXPECT_EQ(fs::read_symlink(dir.File("link.old")), "target");
        EXPECT_EQ(ReadFileBytes(dir.File("target")), "objects");
        EXPECT_GT(CNoRenameNoReplace::s_nRenames, 0);
        EXPECT_EQ(CNoRenameNoReplace::s_nLinks > 0, bNoHardLinks);

        int cause = 0;
        EXPECT_EQ(KeepAside(dir.WFile("missing"), L".old", false, &cause), L"");
        EXPECT_EQ(cause, 2);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 5);
    }
}

namespace {

// A FUSE folder mirroring a temporary one (bindfs); empty when this machine cannot mount one.
class CFuseFolder
{
public:
    CFuseFolder()
    {
        fs::create_directories(m_dir.File("src"));
        fs::create_directories(m_dir.File("mnt"));
        if (access("/dev/fuse", R_OK | W_OK) != 0 || std::system("command -v bindfs >/dev/null 2>&1") != 0)
            return;
        const std::string command = "bindfs '" + m_dir.File("src") + "' '" + m_dir.File("mnt") + "' 2>/dev/null";
        m_bMounted = std::system(command.c_str()) == 0;
    }
    ~CFuseFolder()
    {
        if (!m_bMounted)
            return;
        const std::string mount = "'" + m_dir.File("mnt") + "'";
        if (std::system(("fusermount -u " + mount + " 2>/dev/null || umount " + mount).c_str()) != 0)
            ADD_FAILURE() << "the FUSE folder " << mount << " stays mounted";
    }
    bool IsMounted() const { return m_bMounted; }
    std::string File(const std::string& name) const { return m_dir.File("mnt/" + name); }

private:
    CTempDir m_dir;
    bool m_bMounted = false;
};

} // namespace

TEST(FileIo, KeepAsideOnAFuseFolder)
{
    CFuseFolder fuse;
    if (!fuse.IsMounted())
        GTEST_SKIP() << "no FUSE folder can be mounted here (needs /dev/fuse and bindfs)";
    WriteFileBytes(fuse.File("quarvel.cfg.old"), "first");
    WriteFileBytes(fuse.File("quarvel.cfg"), "second");
    EXPECT_EQ(KeepAside(Wide(fuse.File("quarvel.cfg")), L".old", true), Wide(fuse.File("quarvel.cfg.old.1")));
    EXPECT_FALSE(fs::exists(fuse.File("quarvel.cfg")));
    EXPECT_EQ(ReadFileBytes(fuse.File("quarvel.cfg.old")), "first");
    EXPECT_EQ(ReadFileBytes(fuse.File("quarvel.cfg.old.1")), "second");

    // The save that follows goes through its temporary file as anywhere else.
    CSaveFile file(Wide(fuse.File("quarvel.cfg")));
    ASSERT_TRUE(file.Open() && file.Write("third", 5) && file.Commit());
    EXPECT_EQ(ReadFileBytes(fuse.File("quarvel.cfg")), "third");
}
