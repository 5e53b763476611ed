// "Export As Excel" through the menu, and a read-back by xlrd, a reader we did
// not write.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "export/command.h"
#include "export/sheet.h"
#include "platform/file.h"

#include <cstdio>
#include <fstream>

using namespace app;
namespace t = platform::testing;

namespace {

class ExportCommandTest : public ProgramTest {};

// 2024-03-15 12:00 and 12:10; 21.5 C / 45.3 %, a gap, then -10.5 C / 80.0 %.
const std::string roomLog =
    "***QX51***\r\n2024/03/15\r\n12:20     \r\nSR = 10min\r\n**********\r\n"
    "+21.5,45.3\r\n----------\r\n-10.5,80.0\r\n**********\r\n";

// Runs a command and returns what it printed.
std::string output(const std::string& command)
{
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return text;
    char buffer[256];
    while (fgets(buffer, sizeof buffer, pipe))
        text += buffer;
    pclose(pipe);
    return text;
}

} // namespace

TEST(ExportPath, ProposesTheLastSavedFileWithXls)
{
    EXPECT_EQ(xls::proposedExportPath("D:\\Logs\\Room.XLS.log"), "D:\\Logs\\Room.log.xls");
    EXPECT_EQ(xls::proposedExportPath("C:\\data\\cellar.log"), "C:\\data\\cellar.log.xls");
    EXPECT_EQ(xls::proposedExportPath("/data/a.xls.xLs.log"), "/data/a.log.xls");
    EXPECT_EQ(xls::proposedExportPath(""), platform::workingDirectory() + ".xls");
}

TEST_F(ExportCommandTest, WritesTheSheetThatXlrdReadsBack)
{
    writeText("room.log", roomLog);
    t::answerOpenFile(pathOf("room.log"));
    t::answerSaveFile(pathOf("room"), 0);   // typed without extension: written as typed
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] {
        app::settings().celsius = false;    // the sheet holds Celsius whatever is shown
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().title, "Please choose file to save");
        EXPECT_EQ(t::lastDialog().fileName, ".xls");
        EXPECT_EQ(t::lastDialog().patterns, "Excel 97-2003 File (*.xls)|*.xls|All files (*.*)|*.*");
        std::string bytes = readText("room");
        EXPECT_EQ(bytes, xls::workbookBytes(records::store().records));
        EXPECT_EQ(bytes.size(), 628u + 3 * 57);
        EXPECT_TRUE(t::messages().empty());
        t::chooseMenu(menuExit);
    });
    ASSERT_EQ(runProgram(), 0);

    // xlrd wants the worksheet code 0x0010 in the BOF record; the program writes
    // 0x000A, which spreadsheet programs accept. Patch a copy for the reader.
    std::string bytes = readText("room");
    ASSERT_GT(bytes.size(), 8u);
    bytes[6] = 0x10;
    writeText("patched.xls", bytes);
    std::string script =
        "import xlrd\n"
        "s = xlrd.open_workbook('" + pathOf("patched.xls") + "', encoding_override='cp1252').sheet_by_index(0)\n"
        "for r in range(s.nrows):\n"
        "    print(' '.join(str(s.cell_value(r, c)) for c in range(s.ncols)))\n";
    writeText("read.py", script);
    EXPECT_EQ(output("/usr/bin/python3 " + pathOf("read.py")),
              "Temperature Humidity Date_Time\n"
              "21.5 45.3 45366.5\n"
              "0.0 0.0 45366.506944444445\n"
              "-10.5 80.0 45366.51388888889\n");
}

TEST_F(ExportCommandTest, RefusesWhatItCannotWriteAndDestroysNothing)
{
    writeText("room.log", roomLog);
    writeText("old.xls", "keep me");
    t::answerOpenFile(pathOf("room.log"));
    t::answerSaveFile(pathOf("no-such-folder/room.xls"), 0);
    t::answerSaveFile("", 0);   // cancelled
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([this] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].title, "Error");
        EXPECT_EQ(t::messages()[0].text, "Can't write " + pathOf("no-such-folder/room.xls"));
        EXPECT_EQ(t::messages()[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(readText("old.xls"), "keep me");
        // One record more than a sheet holds: refused before any dialog.
        records::clearRecords();
        for (int i = 0; i < xls::maxExportRecords + 1; ++i)
            records::appendRecord(215, 453);
        records::store().recordCount = records::recordTotal();
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([] {
        ASSERT_EQ(t::messages().size(), 2u);
        EXPECT_EQ(t::messages()[1].text, "Can't export more than 65535 records to one sheet");
        EXPECT_EQ(t::messages()[1].icon, platform::MessageIcon::Error);
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
