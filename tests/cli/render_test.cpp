// `climadesk render`: its picture against the main window's graph image, and its
// refusals. The program runs as a child process with no display; the window runs
// offscreen in the test process.
#include "cli/run.h"
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "app/state.h"
#include "cli/commands.h"
#include "graph/graph.h"
#include "graph/timewindow.h"
#include "platform/file.h"
#include "platform/images.h"
#include "platform/window.h"
#include "records/datemask.h"
#include "records/logfile.h"

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace t = platform::testing;

namespace {

constexpr int graphWidth = 800;
constexpr int graphHeight = 500;
constexpr int32_t recordCount = 20000;
constexpr int32_t interval = 600;
constexpr int readImage = 900;   // the PNG read back, an id the program leaves free

// 20,000 records ten minutes apart (19 weeks): a slow humidity swing and a
// daily temperature swing, with a gap now and then.
void writeRoomLog(const std::string& path)
{
    std::vector<records::Record> recs;
    for (int32_t i = 0; i < recordCount; ++i) {
        const bool gap = i % 997 == 996;
        recs.push_back({0, gap ? 0 : 350 + (i / 40) % 300, gap ? 0 : 150 + (i % 144) * 2});
    }
    records::assignTimes(recs, 1710504000, interval);
    std::ofstream(path, std::ios::binary) << records::formatLogFile(recs, interval);
}

int pixelsOf(int image, platform::Color color)
{
    platform::Size size = platform::imageSize(image);
    int count = 0;
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            count += platform::pixel(image, x, y) == color;
    return count;
}

class RenderTest : public ProgramTest {
protected:
    // Redraws the window's graph with no cursor, renders `options` on the
    // command line and expects the two pictures to be the same, with some
    // pixels of `curveColor` in them.
    void expectSameAsWindow(std::vector<std::string> options, platform::Color curveColor)
    {
        graph::drawGraph(graph::Target::Screen);
        options.insert(options.begin(), {"render", "room.log", "cli.png", "--size", "800x500"});
        ProgramRun run = runClimadesk(options);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, "");
        ASSERT_TRUE(t::loadImagePng(readImage, pathOf("cli.png")));
        EXPECT_EQ(differingPixels(readImage, app::graphImage), 0) << options.back();
        EXPECT_GT(pixelsOf(readImage, curveColor), 500) << options.back();
        std::remove("cli.png");
    }

    // The first drawn record's time as --from takes it, one minute after the
    // record before it: the first record at or after is that record again.
    static std::string fromOfFirstVisible()
    {
        return records::formatTime(cli::timeMask, records::recordAt(graph::firstVisible() - 1).time + 60);
    }
};

} // namespace

TEST_F(RenderTest, PicturesEqualTheWindowsGraph)
{
    writeRoomLog(pathOf("room.log"));
    t::answerOpenFile(pathOf("room.log"));
    t::post([] { t::chooseMenu(app::menuImportRecords); });
    t::post([] {
        int statusHeight = platform::statusBarHeight(app::statusBar);
        t::resizeWindow(app::mainWindow, {200 + graphWidth, graphHeight + 20 + statusHeight});
        // Over the left column: no cursor line in the graph.
        t::setMousePosition(app::mainWindow, 10, 10);
    });
    t::post([this] {
        ASSERT_EQ(app::state().graphWidth, graphWidth);
        ASSERT_EQ(app::state().graphHeight, graphHeight);
        // What the import shows: the level fitted to 19 weeks, the oldest record first.
        ASSERT_EQ(graph::timeWindow().timeScalePosition, 16);
        ASSERT_EQ(graph::firstVisible(), 0);
        expectSameAsWindow({}, platform::rgb(0, 0, 255));
        expectSameAsWindow({"--fit"}, platform::rgb(255, 0, 0));
    });
    t::post([this] {
        // Ten weeks across, from a record in the middle of the file.
        graph::zoomTo(17, 0);
        graph::scrollTo(7001);
        ASSERT_EQ(graph::timeWindow().timeScalePosition, 17);
        ASSERT_EQ(graph::firstVisible(), 7001);
        expectSameAsWindow({"--level", "17", "--from", fromOfFirstVisible()}, platform::rgb(0, 0, 255));
        // A year across: the file fills a third of the width.
        graph::zoomTo(20, 0);
        graph::scrollTo(0);
        expectSameAsWindow({"--level", "20"}, platform::rgb(255, 0, 0));
        // Leading zeros are decimal too: 014 is level 14, never octal 12.
        graph::zoomTo(14, 0);
        expectSameAsWindow({"--level", "014"}, platform::rgb(0, 0, 255));
    });
    t::post([this] {
        graph::zoomTo(16, 0);
        graph::scrollTo(12345);
        ASSERT_EQ(graph::firstVisible(), 12345);
        app::Settings& s = app::settings();
        s.celsius = false;
        s.dotStyle = false;
        s.humidityColor = platform::rgb(0, 170, 0);
        s.temperatureColor = platform::rgb(255, 0, 255);
        expectSameAsWindow({"--level", "16", "--from", fromOfFirstVisible(), "--fahrenheit", "--lines", "--colors",
                            "#00AA00,ff00ff"},
                           platform::rgb(0, 170, 0));
        // Limit lines: 75 degrees F is 23.9 degrees C, the window's limit.
        s.limits.value[analysis::TemperatureHigh] = 239;
        s.limits.value[analysis::HumidityLow] = 450;
        expectSameAsWindow({"--level", "16", "--from", fromOfFirstVisible(), "--fahrenheit", "--lines", "--colors",
                            "#00AA00,ff00ff", "--temp-limits", ",75", "--rh-limits", "45,"},
                           platform::rgb(255, 0, 255));
    });
    t::post([] { t::chooseMenu(app::menuExit); });
    ASSERT_EQ(runProgram(), 0);
}

TEST_F(RenderTest, BadOptionsAndFilesAreRefusedAndWriteNothing)
{
    writeRoomLog(pathOf("room.log"));
    ProgramRun help = runClimadesk({"render", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--colors RH,TEMP"), std::string::npos) << help.out;
    for (const std::vector<std::string>& wrong : std::vector<std::vector<std::string>>{
             {"--size", "300x500"}, {"--size", "800x8193"}, {"--size", "800x"}, {"--size", "800x500x2"},
             {"--level", "0"}, {"--level", "21"}, {"--level", "5", "--fit"}, {"--colors", "#0000FF"},
             {"--colors", "#0000F,#FF0000"}, {"--colors", "blue,red"}, {"--from", "2024-02-30 00:00"},
             {"--from", "2024-03-01"}, {"--dots"}, {"--level", "0x10"}, {"--level", "+5"}, {"--level", " 5"},
             {"--level", "1e1"}, {"--size", " +400x400"}, {"--size", "800x+500"}, {"--size", "800x 500"},
             {"--size", "0x320x500"}}) {
        std::vector<std::string> arguments = {"render", "room.log", "out.png"};
        arguments.insert(arguments.end(), wrong.begin(), wrong.end());
        ProgramRun run = runClimadesk(arguments);
        EXPECT_EQ(run.exitCode, 2) << wrong[0] << " " << wrong.back();
        EXPECT_NE(run.err.find("Usage: climadesk render"), std::string::npos) << run.err;
        EXPECT_FALSE(platform::fileExists("out.png")) << wrong[0];
    }
    ProgramRun noOutput = runClimadesk({"render", "room.log"});
    EXPECT_EQ(noOutput.exitCode, 2);

    // Later than the newest record (2024-03-15 12:00): the file has no picture
    // to start, a failure of the file.
    ProgramRun late = runClimadesk({"render", "room.log", "out.png", "--from", "2024-03-15 12:01"});
    EXPECT_EQ(late.exitCode, 1);
    EXPECT_EQ(late.err, "No record at or after 2024-03-15 12:01 in room.log\n");
    EXPECT_FALSE(platform::fileExists("out.png"));

    ProgramRun missing = runClimadesk({"render", "missing.log", "out.png"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "Can't read missing.log\n");

    // Files that cannot be written: in a folder that is not there, a read-only
    // file (kept as it was), a folder.
    ProgramRun noFolder = runClimadesk({"render", "room.log", "nowhere/out.png"});
    EXPECT_EQ(noFolder.exitCode, 1);
    EXPECT_EQ(noFolder.err, "Can't write nowhere/out.png\n");
    EXPECT_FALSE(platform::fileExists("nowhere"));
    writeText("kept.png", "old picture");
    chmod("kept.png", 0444);
    ProgramRun readOnly = runClimadesk({"render", "room.log", "kept.png"});
    EXPECT_EQ(readOnly.exitCode, 1);
    EXPECT_EQ(readOnly.err, "Can't write kept.png\n");
    EXPECT_EQ(readText("kept.png"), "old picture");
    std::filesystem::create_directory("folder.png");
    EXPECT_EQ(runClimadesk({"render", "room.log", "folder.png"}).exitCode, 1);

    // The last start point: the newest record alone. The settings file of the
    // window is neither read nor written: the default colours are drawn.
    const std::string settings =
        "[Settings]\r\nSerial Port = \r\nColor RH = 43520\r\nColor Temp = 43520\r\n"
        "Temperature scale = Fahrenheit\r\nStyle = Line\r\n[TCP/IP Settings]\r\nIP Address = 127.0.0.1\r\n";
    writeText("preferences.pref", settings);
    ProgramRun newest = runClimadesk({"render", "room.log", "out.png", "--from", "2024-03-15 12:00", "--size", "400x400"});
    EXPECT_EQ(newest.exitCode, 0) << newest.err;
    EXPECT_EQ(newest.err, "");
    ASSERT_TRUE(t::loadImagePng(readImage, pathOf("out.png")));
    EXPECT_EQ(platform::imageSize(readImage).width, 400);
    EXPECT_EQ(platform::imageSize(readImage).height, 400);
    EXPECT_GE(pixelsOf(readImage, platform::rgb(0, 0, 255)), 200);
    EXPECT_EQ(pixelsOf(readImage, platform::rgb(0, 170, 0)), 0);
    EXPECT_EQ(readText("preferences.pref"), settings);
}
