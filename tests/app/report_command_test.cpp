// File > Export Report end to end: enabled with the records, the save dialog
// and its proposal, the PDF written (read back by pdftotext), a cancel, and a
// file that cannot be written.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "platform/window.h"
#include "records/store.h"

#include <cstdlib>

using namespace app;
namespace t = platform::testing;

namespace {

class ReportCommandTest : public ProgramTest {
#ifndef _WIN32
protected:
    std::string pdfText(const std::string& pdf) const
    {
        EXPECT_EQ(std::system(("pdftotext " + pathOf(pdf) + " " + pathOf("report.txt")).c_str()), 0);
        return readText("report.txt");
    }
#endif
};

#ifndef _WIN32
bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}
#endif

} // namespace

TEST_F(ReportCommandTest, WritesThePdfOfTheStoreAndSaysWhenItCannot)
{
    writeText(settingsFileName, readText(settingsFileName) + "[Limits]\r\nTemperature high = 8.0\r\nDelay = 0\r\n");
    t::answerSaveFile(pathOf("fridge"), 0);                 // typed without extension
    t::answerSaveFile("");                                  // cancelled
    t::answerSaveFile(pathOf("gone/fridge.pdf"), 0);        // a folder that is not there
    t::post([] {
        EXPECT_FALSE(platform::menuItemEnabled(menuExportReport));
        loadValues({{50, 450}, {95, 460}, {60, 470}}, 600);
        EXPECT_TRUE(platform::menuItemEnabled(menuExportReport));
        records::store().lastSavePath = "/home/user/fridge.log";
        t::chooseMenu(menuExportReport);
    });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().kind, "save file");
        EXPECT_EQ(t::lastDialog().title, "Please choose file to save");
        EXPECT_EQ(t::lastDialog().fileName, "fridge.pdf");
        EXPECT_EQ(t::lastDialog().patterns, "PDF File (*.pdf)|*.pdf|All files (*.*)|*.*");
        EXPECT_TRUE(t::messages().empty());
        EXPECT_EQ(readText("fridge.pdf").substr(0, 5), "%PDF-");
#ifndef _WIN32
        // Under Wine no Linux program can be waited for: scripts/test-windows
        // compares the Windows report's text with the Linux build's instead.
        const std::string text = pdfText("fridge.pdf");
        EXPECT_TRUE(contains(text, "Climadesk report")) << text;
        EXPECT_TRUE(contains(text, "8.0")) << text;   // the limit in force
#endif
        EXPECT_FALSE(t::waitCursorShown());
        t::chooseMenu(menuExportReport);
    });
    t::post([this] {
        EXPECT_TRUE(t::messages().empty());
        EXPECT_EQ(readText("fridge"), "");
        t::chooseMenu(menuExportReport);
    });
    t::post([this] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].title, "Error");
        EXPECT_EQ(t::messages()[0].text, "Can't write " + pathOf("gone/fridge.pdf"));
        EXPECT_EQ(t::messages()[0].icon, platform::MessageIcon::Error);
        EXPECT_FALSE(t::waitCursorShown());
        t::chooseMenu(menuClose);
    });
    t::post([] {
        EXPECT_FALSE(platform::menuItemEnabled(menuExportReport));
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
