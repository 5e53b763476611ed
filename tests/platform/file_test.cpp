// Tests of whole-file reading and safe replacing.
#include "platform/file.h"
#include "support/workdir.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

class FileTest : public WorkDirTest {
protected:
    // Names in the working directory, so a temporary file left behind shows up.
    std::vector<std::string> entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileTest, ReadFileReadsBinaryBytesAndFailsOnMissingFile)
{
    std::string bytes("a\0b\r\n\xB0\xFF", 7);
    writeText("data.bin", bytes);
    std::string read = "old";
    ASSERT_TRUE(platform::readFile(pathOf("data.bin"), read));
    EXPECT_EQ(read, bytes);

    writeText("empty.bin", "");
    ASSERT_TRUE(platform::readFile(pathOf("empty.bin"), read));
    EXPECT_EQ(read, "");

    read = "kept";
    EXPECT_FALSE(platform::readFile(pathOf("missing.bin"), read));
    EXPECT_FALSE(platform::readFile(dir, read));
    EXPECT_EQ(read, "kept");
}

TEST_F(FileTest, ReplaceFileCreatesAndReplacesWithoutLeavingTemporaryFiles)
{
    // Line ends included: a text-mode write would turn "\n" into "\r\n" on Windows.
    std::string first("one\r\n\0\xB0\n", 8);
    ASSERT_TRUE(platform::replaceFile(pathOf("out.log"), first));
    EXPECT_EQ(readText("out.log"), first);

    ASSERT_TRUE(platform::replaceFile(pathOf("out.log"), "two, which is longer"));
    EXPECT_EQ(readText("out.log"), "two, which is longer");
    ASSERT_TRUE(platform::replaceFile(pathOf("out.log"), "3"));
    EXPECT_EQ(readText("out.log"), "3");

    EXPECT_EQ(entries(), std::vector<std::string>{"out.log"});
}

TEST_F(FileTest, ReplaceFileKeepsPermissionsOfTheFileItReplaces)
{
#ifdef _WIN32
    GTEST_SKIP() << "Windows files have no permission bits to keep";
#endif
    writeText("shared.pref", "old");
    ASSERT_EQ(chmod(pathOf("shared.pref").c_str(), 0604), 0);
    ASSERT_TRUE(platform::replaceFile(pathOf("shared.pref"), "new"));
    struct stat after;
    ASSERT_EQ(stat(pathOf("shared.pref").c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0604u);

    // A new file gets the usual permissions, not the owner-only ones of a temporary file.
    mode_t mask = umask(022);
    ASSERT_TRUE(platform::replaceFile(pathOf("fresh.pref"), "new"));
    umask(mask);
    ASSERT_EQ(stat(pathOf("fresh.pref").c_str(), &after), 0);
    EXPECT_EQ(after.st_mode & 07777, 0644u);
}

TEST_F(FileTest, ReplaceFileFailsWithoutTouchingAnything)
{
    // The directory does not exist: nothing can be written.
    EXPECT_FALSE(platform::replaceFile(pathOf("no-such-dir/out.log"), "x"));
    EXPECT_FALSE(fs::exists(pathOf("no-such-dir")));

    // The target is a directory: the rename fails, the directory and its content stay.
    fs::create_directory(pathOf("target"));
    writeText("target/inside.txt", "inside");
    EXPECT_FALSE(platform::replaceFile(pathOf("target"), "x"));
    EXPECT_TRUE(fs::is_directory(pathOf("target")));
    EXPECT_EQ(readText("target/inside.txt"), "inside");

    EXPECT_EQ(entries(), std::vector<std::string>{"target"});
}

TEST_F(FileTest, WorkingDirectoryEndsWithASeparator)
{
    const std::string separator(1, static_cast<char>(fs::path::preferred_separator));
    EXPECT_EQ(platform::workingDirectory(), fs::canonical(dir).string() + separator);
}

} // namespace

TEST_F(FileTest, NamesInAnyScriptKeepTheirCharacters)
{
    // "Zürich 東京 Ω.log" in UTF-8, the paths the Windows dialogs give.
    const std::string name = "Z\xC3\xBCrich \xE6\x9D\xB1\xE4\xBA\xAC \xCE\xA9.log";
    const std::string path = dir + "/" + name;   // pathOf would pass it through the code page
    ASSERT_TRUE(platform::replaceFile(path, "first"));
    ASSERT_TRUE(platform::replaceFile(path, "second"));   // through a temporary file beside it
    EXPECT_TRUE(platform::fileExists(path));
    std::string read;
    ASSERT_TRUE(platform::readFile(path, read));
    EXPECT_EQ(read, "second");
    // The file system holds the very characters, not the bytes read in another code page.
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::u8string utf8 = entry.path().filename().u8string();
        names.emplace_back(utf8.begin(), utf8.end());
    }
    EXPECT_EQ(names, std::vector<std::string>{name});
}
