// The program's own windows from the keyboard: Enter presses the default
// button, Escape does what the close box does, the focus shows from the start
// and comes back to its control, and the record-time list fits and jumps.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "platform/controls.h"
#include "platform/window.h"

#include <cstdio>

using namespace app;
namespace t = platform::testing;

namespace {

class KeyboardTest : public ProgramTest {};

// The window is open with a control focused and its ring showing.
void expectFocusShownIn(int window)
{
    EXPECT_TRUE(platform::windowExists(window)) << window;
    EXPECT_GE(t::focusedControl(), 0) << window;
    EXPECT_TRUE(t::focusShown()) << window;
}

} // namespace

TEST_F(KeyboardTest, EnterAndEscapeInAboutAndPreferences)
{
    t::post([] { t::chooseMenu(menuAbout); });
    t::post([] {
        expectFocusShownIn(aboutWindow);
        EXPECT_EQ(t::focusedControl(), okButton);
        t::sendKey(okButton, t::Key::Escape);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(aboutWindow));
        EXPECT_EQ(state().closeRequested, 0);   // only the innermost window closed
        t::chooseMenu(menuAbout);
    });
    t::post([] { t::sendKey(okButton, t::Key::Enter); });
    t::post([this] {
        EXPECT_FALSE(platform::windowExists(aboutWindow));
        std::remove(pathOf(settingsFileName).c_str());
        t::chooseMenu(menuPreferences);
    });
    t::post([] {
        expectFocusShownIn(preferencesWindow);
        t::sendKey(celsiusOption, t::Key::Escape);
    });
    t::post([this] {
        // As the close box: nothing new is saved.
        EXPECT_FALSE(platform::windowExists(preferencesWindow));
        EXPECT_EQ(readText(settingsFileName), "");
        t::chooseMenu(menuPreferences);
    });
    t::post([] { t::sendKey(dotOption, t::Key::Enter); });
    t::post([this] {
        // As "Ok": the settings are saved.
        EXPECT_FALSE(platform::windowExists(preferencesWindow));
        EXPECT_NE(readText(settingsFileName).find("IP Address = 127.0.0.1"), std::string::npos);
        EXPECT_TRUE(t::messages().empty());
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(KeyboardTest, ProfileAndRecordTimePickerFromTheKeyboard)
{
    // 99,999 minutes up to 2024-03-15 12:00; 2024-03-01 00:00 is record 79,118.
    t::post([] {
        fillStore(99999, 60);
        t::click(profileButton);
    });
    t::post([] {
        expectFocusShownIn(profileWindow);
        t::sendKey(profileFromButton, t::Key::Enter);   // the focused button, as on Windows
    });
    t::post([] {
        expectFocusShownIn(timePickerWindow);
        EXPECT_EQ(t::openDropDownRows(timePickerList), 20);
        t::typeText(timePickerList, "2024-03-01 00");
        EXPECT_EQ(platform::selectedDropDownEntry(timePickerList), 79118);
        t::sendKey(timePickerList, t::Key::Enter);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(timePickerWindow));
        EXPECT_EQ(platform::text(profileFromText), "From: 2024-03-01 00:00:00");
        // Back on the button that opened the list, with its ring.
        EXPECT_EQ(t::focusedControl(), profileFromButton);
        EXPECT_TRUE(t::focusShown());
        t::sendKey(profileToButton, t::Key::Enter);
    });
    t::post([] {
        t::typeText(timePickerList, "2024-03-02");
        t::sendKey(timePickerList, t::Key::Escape);   // the close box keeps the old time
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(timePickerWindow));
        EXPECT_EQ(platform::text(profileToText), "To: 2024-03-15 12:00:00");
        EXPECT_EQ(t::focusedControl(), profileToButton);
        t::sendKey(profileToButton, t::Key::Escape);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(profileWindow));
        t::click(profileButton);
    });
    t::post([] { t::sendKey(okButton, t::Key::Enter); });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(profileWindow));
        EXPECT_EQ(state().closeRequested, 0);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
