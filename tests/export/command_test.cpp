// "Export As Excel" through the menu, and a read-back by xlrd, a reader we did
// not write.
#include "support/program.h"

#include "app/ids.h"
#include "app/settings.h"
#include "export/command.h"
#include "export/sheet.h"
#include "export/xlsx.h"
#include "platform/file.h"

#include <algorithm>
#include <clocale>
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
        EXPECT_EQ(t::lastDialog().patterns, "Excel 97-2003 File (*.xls)|*.xls|Excel Workbook (*.xlsx)|*.xlsx|"
                                            "CSV (*.csv)|*.csv|CSV, semicolon and decimal comma (*.csv)|*.csv|"
                                            "All files (*.*)|*.*");
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
    t::answerSaveFile(pathOf("big.xls"), 0);
    t::post([] { t::chooseMenu(menuImportRecords); });
    t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([] { t::chooseMenu(menuExportAsExcel); });
    t::post([this] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].title, "Error");
        EXPECT_EQ(t::messages()[0].text, "Can't write " + pathOf("no-such-folder/room.xls"));
        EXPECT_EQ(t::messages()[0].icon, platform::MessageIcon::Error);
        EXPECT_EQ(readText("old.xls"), "keep me");
        // One record more than a sheet holds: refused after the dialog, nothing written.
        records::clearRecords();
        for (int i = 0; i < xls::maxExportRecords + 1; ++i)
            records::appendRecord(215, 453);
        records::store().recordCount = records::recordTotal();
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([this] {
        ASSERT_EQ(t::messages().size(), 2u);
        EXPECT_EQ(t::messages()[1].text, "Can't export more than 65535 records to one sheet\n\n"
                                         "Choose Excel Workbook (*.xlsx) or CSV for more records.");
        EXPECT_EQ(t::messages()[1].icon, platform::MessageIcon::Error);
        EXPECT_FALSE(std::ifstream(pathOf("big.xls")).good());
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST(ExportChoice, TheNameDecidesThenTheEntry)
{
    using xls::CsvStyle;
    using xls::Format;
    struct Case {
        const char* path;
        int pattern;
        Format format;
        CsvStyle style;
    };
    const Case cases[] = {
        {"/d/a.xls", 0, Format::Xls, CsvStyle::Data},
        {"/d/a.XLSX", 0, Format::Xlsx, CsvStyle::Data},
        {"/d/a.csv", 0, Format::Csv, CsvStyle::Data},          // no CSV entry: the first style
        {"/d/a.Csv", 3, Format::Csv, CsvStyle::Spreadsheet},
        {"/d/a.csv", 2, Format::Csv, CsvStyle::Data},
        {"/d/a.xls", 3, Format::Xls, CsvStyle::Spreadsheet},   // the name wins
        {"/d/a", 1, Format::Xlsx, CsvStyle::Data},             // no extension: the entry
        {"/d/a.txt", 2, Format::Csv, CsvStyle::Data},
        {"/d/a.txt", 3, Format::Csv, CsvStyle::Spreadsheet},
        {"/d.csv/a", 4, Format::Xls, CsvStyle::Data},          // "All files": .xls
        {"C:\\d.xlsx\\a", 0, Format::Xls, CsvStyle::Data},
    };
    for (const Case& c : cases) {
        xls::ExportChoice choice = xls::exportChoice(c.path, c.pattern);
        EXPECT_EQ(choice.format, c.format) << c.path << " " << c.pattern;
        EXPECT_EQ(choice.csvStyle, c.style) << c.path << " " << c.pattern;
    }
}

namespace {

// Prints every file it is given (kind:path) as rows of "|"-separated values, read by
// openpyxl (.xlsx) or Python's csv module (.csv, with the separator and decimal
// of its style), so that the formats can be compared with each other.
const std::string readBackScript = R"(
import csv, datetime, sys, zipfile, openpyxl
import xml.etree.ElementTree as ET

APP = '{http://schemas.openxmlformats.org/officeDocument/2006/extended-properties}'

# The application named in docProps/app.xml, and whether every part's CRC holds.
def package(path):
    with zipfile.ZipFile(path) as z:
        bad = z.testzip()
        app = ET.fromstring(z.read('docProps/app.xml'))
    return app.find(APP + 'Application').text, 'intact' if bad is None else 'bad ' + bad

def show(v):
    if v is None:
        return ''
    if isinstance(v, datetime.datetime):
        return v.isoformat(sep=' ')
    if isinstance(v, str):
        return v
    return repr(float(v))

def xlsx(path, facts):
    wb = openpyxl.load_workbook(open(path, 'rb'), read_only=not facts)
    ws = wb['Records']
    if facts:
        print(wb.sheetnames, wb.properties.title, *package(path), ws.freeze_panes, ws['A1'].font.b,
              ws['A2'].number_format, ws['B2'].number_format)
    for row in ws.iter_rows(values_only=True):
        print('|'.join(show(v) for v in row))

def number(text, decimal):
    return '' if text == '' else repr(float(text.replace(decimal, '.')))

def csvfile(path, separator, decimal):
    raw = open(path, 'rb').read()
    print('BOM' if raw.startswith(b'\xef\xbb\xbf') else 'no BOM', raw.count(b'\r\n'))
    with open(path, newline='', encoding='utf-8-sig') as f:
        rows = list(csv.reader(f, delimiter=separator))
    print('|'.join(rows[0]))
    for r in rows[1:]:
        when = datetime.datetime.fromisoformat(r[0]).isoformat(sep=' ')
        print('|'.join([when] + [number(v, decimal) for v in r[1:]]))

for arg in sys.argv[1:]:
    kind, path = arg.split(':', 1)
    if kind in ('xlsx', 'rows'):
        xlsx(path, kind == 'xlsx')
    elif kind == 'data':
        csvfile(path, ',', '.')
    else:
        csvfile(path, ';', ',')
)";

const std::string celsiusRows =
    "Date and time|Temperature (\xC2\xB0" "C)|Humidity (%RH)|Dew point (\xC2\xB0" "C)|Absolute humidity (g/m\xC2\xB3)\n"
    "2024-03-15 11:30:00|22.0|50.0|11.1|9.7\n"
    "2024-03-15 11:40:00||||\n"
    "2024-03-15 11:50:00|-10.0|80.0|-12.8|1.9\n"
    "2024-03-15 12:00:00|25.0|100.5||\n";

} // namespace

TEST_F(ExportCommandTest, NewFormatsAreReadBackByIndependentReaders)
{
    t::answerSaveFile(pathOf("room.xlsx"), 0);      // the name decides
    t::answerSaveFile(pathOf("data.csv"), 4);       // "All files": the first CSV style
    t::answerSaveFile(pathOf("sheet.csv"), 3);
    t::answerSaveFile(pathOf("typed"), 1);          // no extension added
    t::answerSaveFile(pathOf("fahrenheit.xlsx"), 1);
    t::post([] {
        app::settings().celsius = true;
        loadValues({{220, 500}, {0, 0}, {-100, 800}, {250, 1005}}, 600);
        for (int i = 0; i < 4; ++i)
            t::chooseMenu(menuExportAsExcel);
    });
    t::post([] {
        app::settings().celsius = false;
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([] {
        EXPECT_TRUE(t::messages().empty());
        EXPECT_FALSE(t::waitCursorShown());
        t::chooseMenu(menuExit);
    });
    ASSERT_EQ(runProgram(), 0);
    EXPECT_EQ(readText("typed").substr(0, 2), "PK");

    writeText("read.py", readBackScript);
    const std::string read = "/usr/bin/python3 " + pathOf("read.py") + " ";
    const std::string sheetFacts = "['Records'] room.xlsx Climadesk intact A2 True yyyy-mm-dd hh:mm 0.0\n";
    EXPECT_EQ(output(read + "xlsx:" + pathOf("room.xlsx")), sheetFacts + celsiusRows);
    EXPECT_EQ(output(read + "data:" + pathOf("data.csv")), "no BOM 5\n" + celsiusRows);
    EXPECT_EQ(output(read + "spreadsheet:" + pathOf("sheet.csv")), "BOM 5\n" + celsiusRows);
    EXPECT_EQ(output(read + "xlsx:" + pathOf("typed")),
              "['Records'] typed Climadesk intact A2 True yyyy-mm-dd hh:mm 0.0\n" + celsiusRows);
    EXPECT_EQ(output(read + "xlsx:" + pathOf("fahrenheit.xlsx")),
              "['Records'] fahrenheit.xlsx Climadesk intact A2 True yyyy-mm-dd hh:mm 0.0\n"
              "Date and time|Temperature (\xC2\xB0" "F)|Humidity (%RH)|Dew point (\xC2\xB0" "F)|"
              "Absolute humidity (g/m\xC2\xB3)\n"
              "2024-03-15 11:30:00|71.6|50.0|52.0|9.7\n"
              "2024-03-15 11:40:00||||\n"
              "2024-03-15 11:50:00|14.0|80.0|9.0|1.9\n"
              "2024-03-15 12:00:00|77.0|100.5||\n");
}

TEST_F(ExportCommandTest, LargeStoresGoWhereTheyFit)
{
    t::answerSaveFile(pathOf("big.xlsx"), 1);
    t::answerSaveFile(pathOf("big.csv"), 2);
    t::answerSaveFile(pathOf("huge.xlsx"), 1);
    t::post([] {
        fillStore(99999, 60);
        t::chooseMenu(menuExportAsExcel);
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([] {
        // One record more than the .xlsx sheet holds: refused, nothing written.
        records::clearRecords();
        for (size_t i = 0; i < xls::maxXlsxRecords + 1; ++i)
            records::appendRecord(215, 453);
        t::chooseMenu(menuExportAsExcel);
    });
    t::post([this] {
        ASSERT_EQ(t::messages().size(), 1u);
        EXPECT_EQ(t::messages()[0].text, "Can't export more than 1048575 records to one sheet");
        EXPECT_EQ(t::messages()[0].icon, platform::MessageIcon::Error);
        EXPECT_FALSE(std::ifstream(pathOf("huge.xlsx")).good());
        t::chooseMenu(menuExit);
    });
    ASSERT_EQ(runProgram(), 0);

    writeText("read.py", readBackScript);
    const std::string read = "/usr/bin/python3 " + pathOf("read.py") + " ";
    const std::string sheet = output(read + "rows:" + pathOf("big.xlsx"));
    const std::string text = output(read + "data:" + pathOf("big.csv"));
    ASSERT_EQ(std::count(sheet.begin(), sheet.end(), '\n'), 1 + 99999);
    // Row for row the same values, after the line that describes the CSV file.
    EXPECT_EQ(text, "no BOM 100000\n" + sheet);
}

