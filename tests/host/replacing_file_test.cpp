// Files replaced whole: the destination holds its old bytes until the commit
// and the new ones after it, never a mix; an abandoned or failed writer
// leaves nothing behind; what cannot be replaced is refused before writing.
#include "host/files/replacing_file.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace gridsmith::hosting {
namespace {

namespace fs = std::filesystem;

fs::path Folder() {
    const fs::path folder = fs::temp_directory_path() / "gridsmith-replacing-file";
    fs::create_directories(folder);
    return folder;
}

std::string Fresh(const std::string& name, const std::string& bytes = {}) {
    const fs::path path = Folder() / name;
    std::error_code ignored;
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add, ignored);
    fs::remove_all(path, ignored);
    if (!bytes.empty()) std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

std::string Bytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

bool Exists(const std::string& path) { return fs::exists(fs::u8path(path)); }

TEST(ReplacingFile, TheDestinationKeepsItsBytesUntilTheCommitReplacesThemWhole) {
    const std::string path = Fresh("whole.bin", "old bytes");
    // Small writes gathered, one larger than the buffer, and a header patched
    // afterwards, as libtiff does.
    std::string expected = "HEADER--";
    for (int i = 0; i < 1000; ++i) expected += "row " + std::to_string(i) + ";";
    expected += std::string(3 << 20, 'x') + "tail";
    {
        ReplacingFile file(path);
        ASSERT_TRUE(file.ok()) << file.Failure({});
        file.Write("--------", 8);
        for (int i = 0; i < 1000; ++i) {
            const std::string row = "row " + std::to_string(i) + ";";
            file.Write(row.data(), row.size());
        }
        file.Write(expected.data() + expected.size() - 4 - (3 << 20), 3 << 20);
        file.Write("tail", 4);
        EXPECT_EQ(file.Size(), int64_t(expected.size()));
        EXPECT_EQ(file.Seek(0, SEEK_SET), 0);
        file.Write("HEADER", 6);
        EXPECT_EQ(file.Seek(0, SEEK_END), int64_t(expected.size()));
        EXPECT_EQ(Bytes(path), "old bytes");
        EXPECT_TRUE(Exists(TempPathFor(path)));
        EXPECT_EQ(file.Commit(), "");
    }
    EXPECT_EQ(Bytes(path), expected);
    EXPECT_FALSE(Exists(TempPathFor(path)));
}

TEST(ReplacingFile, AWriterThatIsNotCommittedLeavesNothingBehind) {
    const std::string existing = Fresh("kept.txt", "kept"), absent = Fresh("absent.txt");
    for (const std::string& path : {existing, absent}) {
        {
            ReplacingFile file(path);
            file.Write("new", 3);
        }
        EXPECT_FALSE(Exists(TempPathFor(path))) << path;
    }
    EXPECT_EQ(Bytes(existing), "kept");
    EXPECT_FALSE(Exists(absent));
}

TEST(ReplacingFile, WhatCannotBeWrittenIsRefusedByNameAndReasonBeforeWriting) {
    const std::string folder = Fresh("a-folder.png");
    fs::create_directory(folder);
    const std::string missing = (fs::path(Fresh("missing-folder")) / "out.png").string();
    for (const std::string& path : {folder, missing}) {
        ReplacingFile file(path);
        EXPECT_FALSE(file.ok()) << path;
        EXPECT_FALSE(file.Write("x", 1));
        const std::string problem = file.Commit();
        EXPECT_EQ(problem.rfind("cannot write " + path + ": ", 0), 0u) << problem;
        EXPECT_GT(problem.size(), ("cannot write " + path + ": ").size()) << "no reason";
    }
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_TRUE(fs::is_empty(folder));
    EXPECT_FALSE(Exists(fs::path(missing).parent_path().string()));
}

TEST(ReplacingFile, TheTemporaryNameFollowsFromTheDestinationAndTheProcess) {
    EXPECT_EQ(fs::u8path(TempPathFor("out/table.png", 42)), fs::u8path("out/.table.png.gridsmith-42.tmp"));
    EXPECT_EQ(TempPathFor("table.png", 7), ".table.png.gridsmith-7.tmp");
    // A name near the 255-byte limit is shortened, never inside a character.
    std::string name;
    while (name.size() < 250) name += "表";
    const std::string temp = fs::u8path(TempPathFor(name + ".png", 123456)).filename().u8string();
    EXPECT_LE(temp.size(), 255u);
    EXPECT_EQ(temp, "." + name.substr(0, 198) + ".gridsmith-123456.tmp");  // 66 whole characters
}

#ifdef _WIN32

TEST(ReplacingFile, AReadOnlyFileIsRefusedAndKept) {
    const std::string path = Fresh("read-only.txt", "read-only");
    ASSERT_TRUE(SetFileAttributesW(fs::path(path).wstring().c_str(), FILE_ATTRIBUTE_READONLY));
    ReplacingFile file(path);
    EXPECT_FALSE(file.ok());
    EXPECT_NE(file.Commit().find(path), std::string::npos);
    SetFileAttributesW(fs::path(path).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Bytes(path), "read-only");
}

#else

TEST(ReplacingFile, KeepsTheModeFollowsLinksAndWritesDevicesInPlace) {
    const std::string path = Fresh("mode.txt", "old");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    EXPECT_EQ(ReplaceFileContents(path, "new"), "");
    struct stat after{};
    ASSERT_EQ(stat(path.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0640u);

    // The link still points at its target, which holds the new bytes.
    const std::string link = Fresh("link.txt");
    fs::create_symlink(path, link);
    EXPECT_EQ(ReplaceFileContents(link, "through the link"), "");
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(Bytes(path), "through the link");

    // A device cannot be replaced (nor may anything be created beside it).
    EXPECT_EQ(ReplaceFileContents("/dev/null", "gone"), "");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_FALSE(Exists(TempPathFor("/dev/null")));
}

// In a folder anyone may write, a replacement would succeed where writing
// the file would not: a read-only file stays refused. Root writes any file,
// so as root the check runs as nobody.
TEST(ReplacingFile, AReadOnlyFileInAWritableFolderIsRefusedAndKept) {
    const std::string folder = Fresh("open-folder");
    fs::create_directory(folder);
    ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
    const std::string path = folder + "/read-only.txt";
    std::ofstream(path) << "read-only";
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    const auto refused = [&path] {
        return ReplaceFileContents(path, "new") == "cannot write " + path + ": Permission denied";
    };
    if (geteuid() != 0) {
        EXPECT_TRUE(refused());
    } else {
        const pid_t child = fork();
        if (child == 0) _exit(setgid(65534) == 0 && setuid(65534) == 0 && refused() ? 0 : 1);
        int status = -1;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(Bytes(path), "read-only");
    EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), "read-only.txt");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
}

#endif

}  // namespace
}  // namespace gridsmith::hosting
