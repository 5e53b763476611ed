// The Download window from the keyboard: the address field refuses what cannot
// make an address, Enter downloads from it, and after a box the focus is back
// where it was.
#include "fixture.h"

using namespace app;
namespace t = platform::testing;

namespace {

class DeviceKeyboardTest : public DeviceTest {};

} // namespace

TEST_F(DeviceKeyboardTest, AddressFieldRefusesVisiblyAndEnterDownloads)
{
    Simulator sim({"--busy", "1", "--samples", "30", "--ramp", "--newest", march15NoonText});
    ASSERT_TRUE(sim.started());
    writePreferences(sim.address());
    const std::string settingsBefore = preferencesText(sim.address());
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([] {
        EXPECT_TRUE(t::focusShown());
        t::typeAddress(addressField, "");
        // "a", the "0" that would make 300, and "x" are refused, each with a beep.
        t::typeText(addressField, "12a.300.0.1x9");
        EXPECT_EQ(platform::text(addressField), "12.30.0.19");
        EXPECT_EQ(t::beeps(), 3);
        t::sendKey(addressField, t::Key::Escape);   // the close box: nothing is saved
    });
    t::post([&] {
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        EXPECT_EQ(readText("preferences.pref"), settingsBefore);
        EXPECT_TRUE(t::messages().empty());
        t::chooseMenu(menuDownloadRecords);
    });
    t::post([] { t::sendKey(addressField, t::Key::Enter); });
    t::post([&] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].title, "Busy");
        EXPECT_TRUE(platform::windowExists(deviceWindow));
        EXPECT_EQ(t::focusedControl(), addressField);   // back where it was
        EXPECT_TRUE(t::focusShown());
        t::sendKey(addressField, t::Key::Enter);
    });
    t::post([&] {
        EXPECT_FALSE(platform::windowExists(deviceWindow));
        expectRampRecords(30, 300, march15Noon);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

namespace {

// The lowest row in `r` of the grabbed image with a text-dark pixel, or -1.
int lowestInkRow(int image, platform::Rect r)
{
    for (int y = r.y + r.height - 1; y >= r.y; --y)
        for (int x = r.x; x < r.x + r.width; ++x) {
            platform::Color c = platform::pixel(image, x, y);
            if ((c & 0xFF) < 80 && (c >> 8 & 0xFF) < 80 && (c >> 16 & 0xFF) < 80)
                return y;
        }
    return -1;
}

} // namespace

TEST_F(DeviceKeyboardTest, AddressLabelStandsOnTheFieldsBaseline)
{
    writePreferences("127.0.0.1");
    t::post([] { t::chooseMenu(menuDownloadRecords); });
    t::post([] {
        constexpr int grab = 900;   // an image id of the test's own
        t::grabClient(deviceWindow, grab);
        platform::Rect label = platform::controlRect(addressLabel);
        platform::Rect field = platform::controlRect(addressField);
        // The field's first digit, inside its frame and away from the text
        // cursor. Neither text has a descender: the lowest ink is the baseline.
        platform::Rect text{field.x + 3, field.y + 3, 6, field.height - 6};
        int labelBaseline = lowestInkRow(grab, label);
        ASSERT_GE(labelBaseline, 0);
        EXPECT_EQ(labelBaseline, lowestInkRow(grab, text));
        platform::freeImage(grab);
        t::requestClose(deviceWindow);
    });
    t::post([] { t::chooseMenu(menuExit); });
    EXPECT_EQ(runProgram(), 0);
}
