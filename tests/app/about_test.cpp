// The About window end to end: its layout and text, the web link that opens the
// project's page on every click, and the two ways to close it.
#include "support/program.h"

#include "app/about_window.h"
#include "app/ids.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

using namespace app;
namespace t = platform::testing;

namespace {

class AboutTest : public ProgramTest {};

} // namespace

TEST_F(AboutTest, ShowsLogoTextAndLinkLaidOut)
{
    t::post([] { t::chooseMenu(menuAbout); });
    t::post([] {
        ASSERT_TRUE(platform::windowExists(aboutWindow));
        EXPECT_EQ(platform::windowTitle(aboutWindow), "About");
        EXPECT_EQ(platform::clientSize(aboutWindow).width, 240);
        EXPECT_EQ(platform::clientSize(aboutWindow).height, 290);
        EXPECT_TRUE(t::hasIcon(aboutWindow));
        expectPlacements({
            {logoView, nullptr, {20, 20, 200, 101}},
            {aboutFrame, "", {10, 140, 220, 140}},
            {aboutTextView, nullptr, {20, 150, 200, 100}},
            {webLink, "www.example.com", {20, 250, 100, 20}},
            {okButton, "Ok", {160, 250, 60, 20}},
        });
        EXPECT_EQ(platform::text(aboutFrame), "");
        EXPECT_EQ(platform::text(aboutTextView), state().aboutText);
        EXPECT_EQ(platform::text(aboutTextView),
                  "Climadesk\nVersion 1.0\n\n\nContact your Ostrel distributor for:  \n"
                  "- special version of this software\n- new upgrade\n\n");
        EXPECT_EQ(platform::text(webLink), "www.example.com");
        EXPECT_EQ(platform::text(okButton), "Ok");
        t::click(okButton);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(aboutWindow));
        EXPECT_EQ(state().closeRequested, 0);
        EXPECT_TRUE(t::openedWebAddresses().empty());
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(AboutTest, EachLinkClickOpensThePageAndTheWindowStays)
{
    t::post([] { t::chooseMenu(menuAbout); });
    t::post([] { t::click(webLink); });
    t::post([] {
        ASSERT_EQ(t::openedWebAddresses().size(), 1u);
        EXPECT_EQ(t::openedWebAddresses()[0], projectWebAddress);
        EXPECT_TRUE(platform::windowExists(aboutWindow));
        t::click(webLink);
    });
    t::post([] {
        EXPECT_EQ(t::openedWebAddresses().size(), 2u);
        EXPECT_TRUE(platform::windowExists(aboutWindow));
        t::requestClose(aboutWindow);
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(aboutWindow));
        EXPECT_TRUE(platform::windowExists(mainWindow));
        EXPECT_EQ(t::openedWebAddresses().size(), 2u);
        t::chooseMenu(menuAbout);   // opens again after a close box
    });
    t::post([] {
        EXPECT_TRUE(platform::windowExists(aboutWindow));
        t::requestClose(mainWindow);   // ends the About window's loop only
    });
    t::post([] {
        EXPECT_FALSE(platform::windowExists(aboutWindow));
        EXPECT_TRUE(platform::windowExists(mainWindow));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
