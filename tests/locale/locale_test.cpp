// The program in a German locale, whose decimal separator is a comma: every
// number it shows, saves or exports still has a point. The locale is set before
// the toolkit starts, as a user's environment sets it.
#include "support/program.h"

#include "app/ids.h"
#include "export/sheet.h"
#include "platform/controls.h"
#include "records/store.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <regex>

using namespace app;
namespace t = platform::testing;

namespace {

const bool germanEnvironment = setenv("LC_ALL", "de_DE.UTF-8", 1) == 0 && setenv("LANG", "de_DE.UTF-8", 1) == 0;

class LocaleTest : public ProgramTest {
protected:
    void SetUp() override
    {
        ProgramTest::SetUp();
        std::string time = std::setlocale(LC_TIME, nullptr);
        if (!germanEnvironment || time.rfind("de_DE", 0) != 0)
            GTEST_SKIP() << "de_DE.UTF-8 is not installed (scripts/setup installs locales-all)";
    }
};

const std::string roomLog =
    "***QX51***\r\n2024/03/15\r\n12:20     \r\nSR = 10min\r\n**********\r\n"
    "+21.5,45.3\r\n+22.0,50.8\r\n-10.5,80.0\r\n**********\r\n";

// A number with a point, and none with a comma.
void expectPoint(const std::string& text)
{
    EXPECT_TRUE(std::regex_search(text, std::regex("[0-9]\\.[0-9]"))) << text;
    EXPECT_FALSE(std::regex_search(text, std::regex("[0-9],[0-9]"))) << text;
}

// The temperatures and humidities of a workbook's sheet, read by openpyxl.
std::string sheetValues(const std::string& path)
{
    const std::string command = "/usr/bin/python3 -c \"import openpyxl, sys\n"
                                "ws = openpyxl.load_workbook(sys.argv[1])['Records']\n"
                                "print(''.join('%.1f %.1f ' % (r[1], r[2]) for r in ws.iter_rows(min_row=2, values_only=True)))\" "
                                + path;
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char chunk[256];
        for (size_t got; (got = fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            out.append(chunk, got);
        pclose(pipe);
    }
    return out;
}

} // namespace

TEST_F(LocaleTest, NumbersKeepTheirPointInACommaLocale)
{
    writeText("room.log", roomLog);
    t::answerOpenFile(pathOf("room.log"));
    t::answerSaveFile(pathOf("copy.log"), 0);
    t::answerSaveFile(pathOf("room.xls"), 0);
    t::answerSaveFile(pathOf("room.xlsx"), 1);
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] {
        for (int text : {humidityMaxText, humidityMinText, temperatureMaxText, temperatureMinText})
            expectPoint(platform::text(text));
        t::setMousePosition(mainWindow, 400, 100);
    });
    t::post([] {
        expectPoint(t::statusText(statusBar, 2));   // the cursor readout
        expectPoint(t::statusText(statusBar, 3));
        t::chooseMenu(menuSaveAs);
    });
    t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([] { t::click(profileButton); });
    t::post([] {
        std::vector<std::string> rows = t::listRows(profileList);
        ASSERT_FALSE(rows.empty());
        expectPoint(rows.back());   // the totals row
        t::click(okButton);
    });
    t::post([this] {
        EXPECT_EQ(readText("copy.log"), roomLog);
        EXPECT_EQ(readText("room.xls"), xls::workbookBytes(records::store().records));
        // libxlsxwriter prints its numbers with printf: the toolkit's locale must
        // not reach the workbook's XML.
        EXPECT_EQ(sheetValues(pathOf("room.xlsx")), "21.5 45.3 22.0 50.8 -10.5 80.0 \n");
        EXPECT_TRUE(t::messages().empty());
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
