// Saving and exporting where the disk refuses, and importing what vanished:
// an error box, and nothing that was there is lost.
#include "support/program.h"

#include "app/ids.h"
#include "platform/file.h"
#include "platform/window.h"

#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace app;
namespace t = platform::testing;

namespace {

class FailingDiskTest : public ProgramTest {};

const std::string roomLog =
    "***QX51***\r\n2024/03/15\r\n12:20     \r\nSR = 10min\r\n**********\r\n"
    "+21.5,45.3\r\n----------\r\n-10.5,80.0\r\n**********\r\n";

// Limits the size of files this process writes, as a disk that fills up does;
// restores the old limit on destruction.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old);
        oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{bytes, old.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, oldHandler);
    }

private:
    rlimit old{};
    void (*oldHandler)(int) = nullptr;
};

std::vector<std::string> messageTexts()
{
    std::vector<std::string> texts;
    for (const t::Message& m : t::messages())
        texts.push_back(m.title + ": " + m.text);
    return texts;
}

} // namespace

TEST_F(FailingDiskTest, RefusedTargetsKeepWhatWasThere)
{
    writeText("room.log", roomLog);
    writeText("locked.log", "read-only content");
    chmod(pathOf("locked.log").c_str(), 0444);
    writeText("locked.xls", "read-only sheet");
    chmod(pathOf("locked.xls").c_str(), 0444);
    t::answerOpenFile(pathOf("room.log"));
    t::answerSaveFile("/dev/full", 1);
    t::answerSaveFile(pathOf("locked.log"), 0);
    t::answerSaveFile("/proc/room.log", 0);          // a folder that takes no file
    t::answerSaveFile("/dev/full", 0);
    t::answerSaveFile(pathOf("locked.xls"), 0);
    t::post([] { t::chooseMenu(menuImportRecords); });
    for (int i = 0; i < 3; ++i)
        t::post([] { t::chooseMenu(menuSaveAs); });
    for (int i = 0; i < 2; ++i)
        t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([this] {
        EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                      "Error: Can't write /dev/full",
                                      "Error: Can't write " + pathOf("locked.log"),
                                      "Error: Can't write /proc/room.log",
                                      "Error: Can't write /dev/full",
                                      "Error: Can't write " + pathOf("locked.xls"),
                                  }));
        struct stat device;
        ASSERT_EQ(stat("/dev/full", &device), 0);
        EXPECT_TRUE(S_ISCHR(device.st_mode));   // still the device, not a file
        EXPECT_EQ(readText("locked.log"), "read-only content");
        EXPECT_EQ(readText("locked.xls"), "read-only sheet");
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - room.log");
        EXPECT_EQ(records::recordTotal(), 3);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(FailingDiskTest, DiskThatFillsUpMidWriteLeavesTheOldFile)
{
    writeText("big.log", std::string(4000, 'x'));
    t::answerSaveFile(pathOf("big.log"), 0);
    std::optional<FileSizeLimit> limit;
    t::post([&] {
        fillStore(5000, 600);   // about 60 kB as a record file
        limit.emplace(16384);   // until the next step: the save runs in between
        t::chooseMenu(menuSaveAs);
    });
    t::post([&] {
        limit.reset();
        ASSERT_EQ(messageTexts(), (std::vector<std::string>{"Error: Can't write " + pathOf("big.log")}));
        EXPECT_EQ(readText("big.log"), std::string(4000, 'x'));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    // No temporary file is left beside the target.
    EXPECT_EQ(system(("test -z \"$(ls " + dir + " | grep tmp)\"").c_str()), 0);
}

TEST_F(FailingDiskTest, ImportOfWhatCannotBeReadKeepsTheRecords)
{
    writeText("room.log", roomLog);
    mkdir(pathOf("folder.log").c_str(), 0755);
    t::answerOpenFile(pathOf("room.log"));
    t::answerOpenFile(pathOf("vanished.log"));
    t::answerOpenFile(pathOf("folder.log"));
    for (int i = 0; i < 3; ++i)
        t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] {
        EXPECT_EQ(messageTexts(), (std::vector<std::string>{"Error: Wrong file format", "Error: Wrong file format"}));
        EXPECT_EQ(records::recordTotal(), 3);
        EXPECT_EQ(platform::windowTitle(mainWindow), "Climadesk - room.log");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

// The .xlsx (written by libxlsxwriter into a scratch file first) and both CSV
// styles fail like the .xls: a message, the old file, nothing left behind.
TEST_F(FailingDiskTest, NewExportFormatsKeepTheOldFile)
{
    // Scratch files go to the test's own folder, where a leftover would show.
    const std::string scratch = pathOf("scratch");
    mkdir(scratch.c_str(), 0755);
    const char* oldTemp = getenv("TMPDIR");
    const std::string savedTemp = oldTemp ? oldTemp : "";
    setenv("TMPDIR", scratch.c_str(), 1);

    writeText("old.xlsx", "old sheet");
    writeText("old.csv", "old text");
    writeText("locked.xlsx", "read-only sheet");
    chmod(pathOf("locked.xlsx").c_str(), 0444);
    t::answerSaveFile(pathOf("old.xlsx"), 1);
    t::answerSaveFile(pathOf("old.csv"), 2);
    t::answerSaveFile(pathOf("old.csv"), 3);
    t::answerSaveFile(pathOf("locked.xlsx"), 1);
    t::answerSaveFile(pathOf("no-such-folder/room.csv"), 3);
    t::answerSaveFile("/dev/full", 1);
    t::answerSaveFile("/proc/room.xlsx", 1);
    std::optional<FileSizeLimit> limit;
    t::post([&] {
        fillStore(5000, 600);   // far more than 16 kB in every format
        limit.emplace(16384);   // until the next step: the exports run in between
        for (int i = 0; i < 3; ++i)
            t::chooseMenu(menuExportAsExcel);
    });
    t::post([&] {
        limit.reset();
        for (int i = 0; i < 4; ++i)
            t::chooseMenu(menuExportAsExcel);
    });
    t::post([&] {
        EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                      "Error: Can't write " + pathOf("old.xlsx"),
                                      "Error: Can't write " + pathOf("old.csv"),
                                      "Error: Can't write " + pathOf("old.csv"),
                                      "Error: Can't write " + pathOf("locked.xlsx"),
                                      "Error: Can't write " + pathOf("no-such-folder/room.csv"),
                                      "Error: Can't write /dev/full",
                                      "Error: Can't write /proc/room.xlsx",
                                  }));
        EXPECT_EQ(readText("old.xlsx"), "old sheet");
        EXPECT_EQ(readText("old.csv"), "old text");
        EXPECT_EQ(readText("locked.xlsx"), "read-only sheet");
        struct stat device;
        ASSERT_EQ(stat("/dev/full", &device), 0);
        EXPECT_TRUE(S_ISCHR(device.st_mode));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    if (oldTemp)
        setenv("TMPDIR", savedTemp.c_str(), 1);
    else
        unsetenv("TMPDIR");
    EXPECT_EQ(system(("test -z \"$(ls " + dir + " | grep tmp)\"").c_str()), 0);
    EXPECT_EQ(system(("test -z \"$(ls " + scratch + ")\"").c_str()), 0);
}
