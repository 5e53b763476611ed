// Tests of the files the install adds around the program: the desktop entry and
// the AppStream metainfo must pass their validators, and the menu launcher must
// start the program beside it in the settings folder.
#include "support/workdir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

const std::string packagingDir = PACKAGING_DIR;

struct Outcome {
    int status;
    std::string output;
};

// Runs a shell command; its exit status and everything it printed.
Outcome run(const std::string& command)
{
    Outcome outcome{-1, ""};
    FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return outcome;
    char chunk[512];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        outcome.output.append(chunk, got);
    int status = pclose(pipe);
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

std::string quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

Outcome validateDesktopEntry(const std::string& path)
{
    return run("desktop-file-validate " + quoted(path));
}

Outcome validateMetainfo(const std::string& path)
{
    return run("appstreamcli validate --no-net " + quoted(path));
}

class PackagingTest : public WorkDirTest {};

TEST_F(PackagingTest, DesktopEntryPassesDesktopFileValidate)
{
    Outcome result = validateDesktopEntry(packagingDir + "/climadesk.desktop");
    EXPECT_EQ(result.status, 0) << result.output;
    // Hints and warnings are printed without failing the exit status.
    EXPECT_EQ(result.output, "");

    // The validator does reject a broken entry: an entry needs a name.
    writeText("broken.desktop", "[Desktop Entry]\nType=Application\nExec=climadesk-launch\n");
    EXPECT_NE(validateDesktopEntry(pathOf("broken.desktop")).status, 0);
}

TEST_F(PackagingTest, MetainfoPassesAppstreamValidate)
{
    Outcome result = validateMetainfo(packagingDir + "/com.example.climadesk.metainfo.xml");
    EXPECT_EQ(result.status, 0) << result.output;

    // The validator does reject a broken file: a component needs a summary.
    writeText("com.example.broken.metainfo.xml",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<component type=\"desktop-application\">\n"
              "  <id>com.example.broken</id>\n"
              "  <metadata_license>CC0-1.0</metadata_license>\n"
              "  <name>Broken</name>\n"
              "</component>\n");
    EXPECT_NE(validateMetainfo(pathOf("com.example.broken.metainfo.xml")).status, 0);
}

// The launcher copied into bin/ beside a stand-in program that records the
// folder it was started in.
class LauncherTest : public WorkDirTest {
protected:
    void SetUp() override
    {
        WorkDirTest::SetUp();
        fs::create_directories(pathOf("bin"));
        fs::create_directories(pathOf("home"));
        fs::copy_file(packagingDir + "/climadesk-launch", pathOf("bin/climadesk-launch"));
        writeText("bin/climadesk", "#!/bin/sh\npwd > " + quoted(pathOf("started-in")) + "\n");
        fs::permissions(pathOf("bin/climadesk"), fs::perms::owner_all);
    }

    // Runs the launcher from `folder` with a home of its own; `environment` is
    // put before the command (e.g. "XDG_CONFIG_HOME=/x").
    Outcome launch(const std::string& environment, const std::string& folder = "/")
    {
        fs::remove(pathOf("started-in"));
        return run("cd " + quoted(folder) + " && env -u XDG_CONFIG_HOME HOME=" + quoted(pathOf("home"))
                   + " " + environment + " " + quoted(pathOf("bin/climadesk-launch")));
    }

    // The folder the stand-in program was started in ("" when it did not start).
    std::string startedIn() const
    {
        std::string text = readText("started-in");
        if (!text.empty() && text.back() == '\n')
            text.pop_back();
        return text;
    }
};

TEST_F(LauncherTest, StartsTheProgramInTheConfigFolderAndCreatesIt)
{
    Outcome result = launch("");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(startedIn(), pathOf("home/.config/climadesk"));

    // A second start finds the folder and what the program left there.
    writeText("home/.config/climadesk/preferences.pref", "[Colors]\r\n");
    result = launch("");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(startedIn(), pathOf("home/.config/climadesk"));
    EXPECT_EQ(readText("home/.config/climadesk/preferences.pref"), "[Colors]\r\n");
}

TEST_F(LauncherTest, FollowsAnAbsoluteXdgConfigHomeAndIgnoresARelativeOne)
{
    Outcome result = launch("XDG_CONFIG_HOME=" + quoted(pathOf("config")));
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(startedIn(), pathOf("config/climadesk"));

    result = launch("XDG_CONFIG_HOME=relative", dir);
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(startedIn(), pathOf("home/.config/climadesk"));
    EXPECT_FALSE(fs::exists(pathOf("relative")));
}

TEST_F(LauncherTest, FindsTheProgramBesideItWhenFoundThroughPath)
{
    // As a menu runs it: by name, looked up in PATH, from the home folder.
    Outcome result = run("cd " + quoted(pathOf("home")) + " && env -u XDG_CONFIG_HOME HOME="
                         + quoted(pathOf("home")) + " PATH=" + quoted(pathOf("bin")) + ":/usr/bin:/bin"
                         + " climadesk-launch");
    ASSERT_EQ(result.status, 0) << result.output;
    EXPECT_EQ(startedIn(), pathOf("home/.config/climadesk"));
}

TEST_F(LauncherTest, FailsWhenTheFolderCannotBeMade)
{
    // A file where the config folder should be: the program must not start elsewhere.
    writeText("home/.config", "not a folder");
    Outcome result = launch("");
    EXPECT_NE(result.status, 0);
    EXPECT_EQ(startedIn(), "");
}

} // namespace
