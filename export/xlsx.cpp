#include "export/xlsx.h"

#include "export/columns.h"
#include "export/xlsx_copy.h"
#include "platform/file.h"

#include <xlsxwriter.h>

#include <algorithm>

namespace xls {

namespace {

constexpr int32_t secondsPerDay = 86400;
// The serial day number of 1970-01-01 in the 1900 date system.
constexpr double serialOf1970 = 25569.0;
constexpr const char* dateFormat = "yyyy-mm-dd hh:mm";
constexpr const char* valueFormat = "0.0";
// Room for the cell's padding on either side, in characters.
constexpr double columnPadding = 2.0;
constexpr const char* sheetName = "Records";

// docProps/app.xml as libxlsxwriter writes it for our one sheet, but naming this
// program where libxlsxwriter names "Microsoft Excel".
constexpr const char* applicationPartName = "docProps/app.xml";
const std::string applicationPart =
    "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
    "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\" "
    "xmlns:vt=\"http://schemas.openxmlformats.org/officeDocument/2006/docPropsVTypes\">"
    "<Application>Climadesk</Application><DocSecurity>0</DocSecurity><ScaleCrop>false</ScaleCrop>"
    "<HeadingPairs><vt:vector size=\"2\" baseType=\"variant\"><vt:variant><vt:lpstr>Worksheets</vt:lpstr>"
    "</vt:variant><vt:variant><vt:i4>1</vt:i4></vt:variant></vt:vector></HeadingPairs>"
    "<TitlesOfParts><vt:vector size=\"1\" baseType=\"lpstr\"><vt:lpstr>" + std::string(sheetName) +
    "</vt:lpstr></vt:vector></TitlesOfParts><Company></Company><LinksUpToDate>false</LinksUpToDate>"
    "<SharedDoc>false</SharedDoc><HyperlinksChanged>false</HyperlinksChanged><AppVersion>12.0000</AppVersion>"
    "</Properties>\n";

struct Formats {
    lxw_format* header;
    lxw_format* date;
    lxw_format* value;
};

Formats addFormats(lxw_workbook* workbook)
{
    Formats f{workbook_add_format(workbook), workbook_add_format(workbook), workbook_add_format(workbook)};
    format_set_bold(f.header);
    format_set_num_format(f.date, dateFormat);
    format_set_num_format(f.value, valueFormat);
    return f;
}

// Characters of a UTF-8 text: every byte but the continuation bytes.
double characterCount(const std::string& text)
{
    return static_cast<double>(std::count_if(text.begin(), text.end(), [](char ch) {
        return (static_cast<unsigned char>(ch) & 0xC0) != 0x80;
    }));
}

// Bold header row, frozen; each column as wide as its title, the time column
// at least as wide as its date format.
bool writeHeaderRow(lxw_worksheet* sheet, const Formats& formats, bool fahrenheit)
{
    const auto titles = columnTitles(fahrenheit);
    worksheet_freeze_panes(sheet, 1, 0);
    bool ok = true;
    for (lxw_col_t column = 0; column < titles.size(); ++column) {
        double width = characterCount(titles[column]);
        if (column == TimeColumn)
            width = std::max(width, characterCount(dateFormat));
        ok = ok && worksheet_set_column(sheet, column, column, width + columnPadding, nullptr) == LXW_NO_ERROR;
        ok = ok && worksheet_write_string(sheet, 0, column, titles[column].c_str(), formats.header) == LXW_NO_ERROR;
    }
    return ok;
}

// The serial day number of a time, counted without time zone from 1970 on.
double serialDay(int32_t time)
{
    return serialOf1970 + time / secondsPerDay + (time % secondsPerDay) / static_cast<double>(secondsPerDay);
}

bool writeRecordRow(lxw_worksheet* sheet, const Formats& formats, lxw_row_t row,
                    const records::Record& record, bool fahrenheit)
{
    lxw_error error = LXW_NO_ERROR;
    if (record.time >= 0)
        error = worksheet_write_number(sheet, row, TimeColumn, serialDay(record.time), formats.date);
    const RowValues values = rowValues(record, fahrenheit);
    for (lxw_col_t i = 0; i < values.size() && error == LXW_NO_ERROR; ++i) {
        if (values[i])
            error = worksheet_write_number(sheet, row, i + 1, *values[i] / 10.0, formats.value);
    }
    return error == LXW_NO_ERROR;
}

bool writeSheet(lxw_workbook* workbook, const std::vector<records::Record>& records, bool fahrenheit)
{
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, sheetName);
    if (!sheet)
        return false;
    const Formats formats = addFormats(workbook);
    bool ok = writeHeaderRow(sheet, formats, fahrenheit);
    lxw_row_t row = 1;
    for (auto record = records.begin(); ok && record != records.end(); ++record)
        ok = writeRecordRow(sheet, formats, row++, *record, fahrenheit);
    return ok;
}

// The workbook as libxlsxwriter writes it to `file`.
bool writeWorkbook(const std::string& file, const std::vector<records::Record>& records, bool fahrenheit,
                   const std::string& title)
{
    // Rows go to the sheet's file as they are written, not into a tree of cells
    // first: a tenth less work for a full logger, and libxlsxwriter's memory no
    // longer grows with the store. Rows must then come in order, and texts are
    // stored in their cells rather than in a table of shared strings.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(file.c_str(), &options);
    if (!workbook)
        return false;
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(title.c_str());
    // Dated by the newest record instead of the clock, so that the same records
    // give the same bytes from the window and the command line, at any time.
    if (!records.empty() && records.back().time > 0)
        properties.created = records.back().time;
    bool ok = workbook_set_properties(workbook, &properties) == LXW_NO_ERROR;
    ok = ok && writeSheet(workbook, records, fahrenheit);
    // Closing writes the file and frees the workbook, whatever went before.
    const bool closed = workbook_close(workbook) == LXW_NO_ERROR;
    return ok && closed;
}

} // namespace

bool writeXlsx(const std::string& file, const std::vector<records::Record>& records, bool fahrenheit,
               const std::string& title)
{
    if (records.size() > maxXlsxRecords)
        return false;
    // libxlsxwriter's own file, which copyXlsx checks as it copies it to `file`.
    const platform::ScratchFile written;
    return !written.path.empty() && writeWorkbook(written.path, records, fahrenheit, title) &&
           copyXlsx(written.path, file, applicationPartName, applicationPart);
}

} // namespace xls
