// Saves through symbolic links and into folders the user may not write to:
// the link survives, the file it points to gets the new content.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"

#include <filesystem>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace app;
namespace t = platform::testing;
namespace fs = std::filesystem;

namespace {

class LinksTest : public ProgramTest {
protected:
    // `name` is a symbolic link, relative like most links people make, to a
    // file of its own in a sub-folder.
    void linkToFile(const std::string& name, const std::string& content)
    {
        fs::create_directories(pathOf("real"));
        writeText("real/" + name, content);
        fs::create_symlink("real/" + name, pathOf(name));
    }

    void expectLinkKept(const std::string& name)
    {
        EXPECT_TRUE(fs::is_symlink(pathOf(name))) << name;
        EXPECT_EQ(fs::read_symlink(pathOf(name)), "real/" + name) << name;
    }
};

TEST_F(LinksTest, SettingsSaveAsAndExportWriteTheLinkTarget)
{
    std::string settings = readText(settingsFileName);
    fs::remove(pathOf(settingsFileName));
    linkToFile(settingsFileName, settings);
    linkToFile("room.log", "old records");
    linkToFile("room.xls", "old sheet");
    t::answerSaveFile(pathOf("room.log"), 0);
    t::answerSaveFile(pathOf("room.xls"), 0);
    t::post([] {
        loadValues({{215, 453}, {-105, 800}}, 600);
        t::chooseMenu(menuSaveAs);
    });
    t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([] { t::chooseMenu(menuPreferences); });
    t::post([] { t::click(fahrenheitOption); });
    t::post([] { t::requestClose(preferencesWindow); });
    t::post([this] {
        EXPECT_TRUE(t::messages().empty());
        for (const char* name : {settingsFileName, "room.log", "room.xls"})
            expectLinkKept(name);
        EXPECT_NE(readText("real/" + std::string(settingsFileName)).find("Fahrenheit"), std::string::npos);
        EXPECT_EQ(readText("real/room.log").substr(0, 12), "***QX51***\r\n");
        EXPECT_EQ(readText("real/room.xls").substr(0, 2), std::string("\x09\x00", 2));   // BIFF2 BOF
        // Nothing is left beside the targets or the links.
        EXPECT_EQ(std::distance(fs::directory_iterator(pathOf("real")), fs::directory_iterator()), 3);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(LinksTest, SettingsAreSavedInAFolderThatTakesNoNewFile)
{
    // Root writes any folder, so the save runs as an ordinary user in a child.
    fs::create_directories(pathOf("locked"));
    writeText("locked/" + std::string(settingsFileName), "old");
    std::string file = pathOf("locked/" + std::string(settingsFileName));
    chmod(file.c_str(), 0666);
    chmod(pathOf("locked").c_str(), 0555);
    chmod(dir.c_str(), 0755);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        // A temporary file beside it must really be impossible for this user.
        if (access(pathOf("locked").c_str(), W_OK) == 0)
            _exit(4);
        settings().celsius = false;
        saveSettings(file);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0);
    EXPECT_NE(readText("locked/" + std::string(settingsFileName)).find("Temperature scale = Fahrenheit"),
              std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(pathOf("locked")), fs::directory_iterator()), 1);
    chmod(pathOf("locked").c_str(), 0755);
}

} // namespace
