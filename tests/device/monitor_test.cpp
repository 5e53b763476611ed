// File > Monitor end to end against sentrel-sim: the polling loop, what it draws,
// stopping, starting again, closing and a logger that hangs up.
//
// While monitoring, each pass of the polling loop takes one posted step, so a step
// sees the picture of the pass before it. The first step after a start is the
// event the loop takes and ignores right after starting.
#include "device/fixture.h"

#include "app/ids.h"
#include "app/settings.h"
#include "assets/assets.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

using namespace app;
namespace t = platform::testing;

namespace {

class MonitorTest : public DeviceTest {};

constexpr platform::Color background = platform::rgb(50, 50, 50);
constexpr platform::Color red = platform::rgb(255, 0, 0);
constexpr platform::Color green = platform::rgb(0, 255, 0);
// Scratch images of the tests; the program uses ids 70 to 76.
constexpr int expectedPicture = 150;
constexpr int freshPicture = 151;

// The picture the monitor should show for the two texts.
void drawExpected(const std::string& temperature, const std::string& humidity)
{
    platform::createImage(expectedPicture, 400, 201);
    platform::fillRect(expectedPicture, 0, 0, 400, 201, background);
    platform::drawText(expectedPicture, readingFont, 200 - platform::textWidth(readingFont, temperature) / 2, 10,
                       temperature, red, background);
    platform::drawText(expectedPicture, readingFont, 200 - platform::textWidth(readingFont, humidity) / 2, 110,
                       humidity, green, background);
}

int pixelsOf(platform::Color color, int top, int bottom)
{
    int count = 0;
    for (int y = top; y < bottom; ++y)
        for (int x = 0; x < 400; ++x)
            count += platform::pixel(devicePicture, x, y) == color;
    return count;
}

// The logger's own picture again, as the window shows it when not monitoring.
void expectDevicePictureShown()
{
    assets::Blob picture = assets::deviceJpeg();
    ASSERT_TRUE(platform::decodeJpeg(freshPicture, picture.data, picture.size));
    EXPECT_EQ(differingPixels(devicePicture, freshPicture), 0);
}

void expectIdle()
{
    ASSERT_TRUE(platform::windowExists(deviceWindow));
    EXPECT_EQ(platform::text(deviceButton), "Start Monitor");
    EXPECT_TRUE(platform::controlVisible(addressField));
    EXPECT_TRUE(platform::controlVisible(addressLabel));
    EXPECT_TRUE(t::windowVisible(mainWindow));
}

void expectMonitoring()
{
    EXPECT_EQ(platform::text(deviceButton), "Stop Monitor");
    EXPECT_FALSE(platform::controlVisible(addressField));
    EXPECT_FALSE(platform::controlVisible(addressLabel));
    EXPECT_FALSE(t::windowVisible(mainWindow));
    EXPECT_TRUE(t::windowVisible(deviceWindow));
}

} // namespace

TEST_F(MonitorTest, DrawsTheLoggersTextsAsTheyCameAndStartsAgainOnAFreshConnection)
{
    Simulator sim({"--readings", "-12.5 99.9"});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address(), false);   // Fahrenheit must not change the texts
    t::post([] { t::chooseMenu(menuMonitor); });
    t::post([&] {
        ASSERT_TRUE(platform::windowExists(deviceWindow));
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor");
        EXPECT_EQ(platform::clientSize(deviceWindow).width, 400);
        EXPECT_EQ(platform::clientSize(deviceWindow).height, 315);
        EXPECT_EQ(platform::text(addressField), sim.address());
        EXPECT_EQ(platform::text(addressLabel), "Sentrel32 IP Address: ");
        EXPECT_EQ(platform::statusBarHeight(downloadStatusBar), 0);
        expectIdle();
        expectDevicePictureShown();
        t::click(deviceButton);
    });
    t::post([&] {
        expectMonitoring();
        // Hidden, the address cannot be changed.
        t::typeAddress(addressField, Simulator::unusedAddress());
    });
    t::post([&] {
        drawExpected("-12.5", "99.9");
        EXPECT_EQ(differingPixels(devicePicture, expectedPicture), 0);
        EXPECT_GT(pixelsOf(red, 10, 80), 0);
        EXPECT_GT(pixelsOf(green, 110, 180), 0);
        t::click(deviceButton);
    });
    t::post([&] {
        expectIdle();
        expectDevicePictureShown();
        EXPECT_EQ(addressText(settings().deviceAddress), sim.address());
        EXPECT_TRUE(sim.sawLine("query 1"));
        t::click(deviceButton);
    });
    t::post([] { expectMonitoring(); });
    t::post([&] {
        // The second start closed the first connection and opened its own.
        EXPECT_TRUE(sim.sawLine("closed 1"));
        EXPECT_TRUE(sim.sawLine("query 2"));
        EXPECT_EQ(differingPixels(devicePicture, expectedPicture), 0);
        t::click(deviceButton);
    });
    t::post([] {
        expectIdle();
        EXPECT_TRUE(t::messages().empty());
        EXPECT_EQ(records::recordTotal(), 0);
        t::requestClose(deviceWindow);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_TRUE(t::windowVisible(mainWindow));
        EXPECT_EQ(state().closeRequested, 0);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    // The monitor saves nothing.
    EXPECT_EQ(readText("preferences.pref"), preferencesText(sim.address(), false));
}

TEST_F(MonitorTest, ClosingWhileMonitoringRestoresTheMainWindow)
{
    Simulator sim({});   // live texts
    ASSERT_TRUE(sim.started());
    const std::string nobody = Simulator::unusedAddress();
    writePreferences(nobody);
    const int sockets = openSockets();
    t::post([] { t::chooseMenu(menuMonitor); });
    t::post([] { t::click(deviceButton); });
    t::post([&] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].title, "Error");
        EXPECT_EQ(t::messages()[0].text, "Can't connect to " + nobody);
        EXPECT_EQ(t::messages()[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(openSockets(), sockets);
        expectIdle();
        t::typeAddress(addressField, sim.address());
        t::click(deviceButton);
    });
    t::post([] { expectMonitoring(); });
    t::post([] {
        EXPECT_EQ(platform::pixel(devicePicture, 0, 0), background);
        EXPECT_EQ(platform::pixel(devicePicture, 399, 200), background);
        EXPECT_GT(pixelsOf(red, 10, 80), 0);
        EXPECT_EQ(pixelsOf(green, 10, 80), 0);
        EXPECT_GT(pixelsOf(green, 110, 180), 0);
        EXPECT_EQ(pixelsOf(red, 110, 180), 0);
        t::requestClose(deviceWindow);
    });
    t::post([&] {
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_TRUE(t::windowVisible(mainWindow));
        EXPECT_EQ(state().closeRequested, 0);
        EXPECT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

TEST_F(MonitorTest, LoggerThatHangsUpStopsTheMonitorAfterOneMessage)
{
    Simulator sim({"--close-after-query", "--readings", " 20.0 50.0"});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address());
    const int sockets = openSockets();
    ShownRecords before;
    t::post([&] {
        fillEarlierRecords();
        before = shownRecords();
        t::chooseMenu(menuMonitor);
    });
    t::post([] { t::click(deviceButton); });
    t::post([] { expectMonitoring(); });
    t::post([] {
        // The first pass had its answer; the logger hangs up after it.
        drawExpected("20.0", "50.0");
        EXPECT_EQ(differingPixels(devicePicture, expectedPicture), 0);
        EXPECT_TRUE(t::messages().empty());
    });
    t::post([&] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].title, "Network Error");
        EXPECT_EQ(t::messages()[0].text, "Sentrel32 has closed the connection...");
        EXPECT_EQ(t::messages()[0].icon, platform::MessageIcon::None);
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_TRUE(t::windowVisible(mainWindow));
        EXPECT_EQ(state().closeRequested, 0);
        expectShownAsBefore(before);
        // The closed connection's handle is kept until the next start or the end.
        EXPECT_EQ(openSockets(), sockets + 1);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(openSockets(), sockets);
}

TEST_F(MonitorTest, BytesAfterAReplyAreNotTakenForTheNextReply)
{
    // Seven stray bytes follow each query reply in a later segment; the next
    // query must not read them as the start of its reply.
    Simulator sim({"--readings", " 23.4 56.7", "--query-extra", "7", "--chunk", "64", "--delay", "20"});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address());
    t::post([] { t::chooseMenu(menuMonitor); });
    t::post([] { t::click(deviceButton); });
    t::post([] {});   // taken and ignored as monitoring starts
    for (int pass = 0; pass < 3; ++pass)
        t::post([] {
            drawExpected("23.4", "56.7");
            EXPECT_EQ(differingPixels(devicePicture, expectedPicture), 0);
        });
    t::post([] { t::click(deviceButton); });
    t::post([] { t::requestClose(deviceWindow); });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}

// A silent logger is named in the title while it stays silent; a logger that
// answers keeps the plain title. Enter starts and stops, Escape closes.
TEST_F(MonitorTest, TitleSaysWhenTheLoggerDoesNotReply)
{
    Simulator silent({"--silent"});
    Simulator good({"--readings", " 21.3 47.9"});
    ASSERT_TRUE(silent.started() && good.started());
    writePreferences(silent.address());
    t::post([] { t::chooseMenu(menuMonitor); });
    t::post([] { t::sendKey(addressField, t::Key::Enter); });
    t::post([] {});   // taken and ignored by the loop right after the start
    t::post([&] {
        // After a pass without a reply; the picture is left as it was.
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor - no reply from " + silent.address());
        EXPECT_EQ(pixelsOf(red, 0, 201) + pixelsOf(green, 0, 201), 0);
        t::click(deviceButton);   // stop
    });
    t::post([&] {
        expectIdle();
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor");
        t::typeAddress(addressField, good.address());
        t::sendKey(addressField, t::Key::Enter);
    });
    t::post([] {});
    t::post([] {
        expectMonitoring();
        EXPECT_EQ(platform::windowTitle(deviceWindow), "Monitor");
        EXPECT_GT(pixelsOf(red, 10, 80), 0);
        t::sendKey(deviceButton, t::Key::Enter);   // "Stop Monitor"
    });
    t::post([] {
        expectIdle();
        t::sendKey(deviceButton, t::Key::Escape);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
