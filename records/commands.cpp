#include "records/commands.h"

#include "app/commands.h"
#include "app/ids.h"
#include "platform/dialogs.h"
#include "platform/file.h"
#include "platform/window.h"
#include "records/load.h"
#include "records/logfile.h"
#include "records/store.h"

namespace records {

namespace {

const char* const logPatterns = "OSTREL record (*.log)|*.log|All files (*.*)|*.*";
constexpr int recordFilePattern = 0;

// Lines 2 to 5, then the records up to the end marker or the end of the file.
bool readLogBody(LogLines& lines, LoadHeader& header)
{
    std::string date, time, line;
    lines.next(date);
    lines.next(time);
    header.newestTime = readNewestTime(date, time);
    if (lines.next(line))
        header.interval = readInterval(line);
    lines.next(line);   // the separator, whatever it holds
    int32_t temperature = 0, humidity = 0;
    while (lines.next(line) && readRecordLine(line, temperature, humidity))
        appendRecord(temperature, humidity);
    return true;
}

void showTitle(const std::string& fileTitle)
{
    platform::setWindowTitle(app::mainWindow, "Climadesk - " + fileTitle);
}

bool hasExtension(const std::string& path)
{
    return fileTitleOf(path).find('.') != std::string::npos;
}

} // namespace

void importRecords()
{
    platform::FileChoice choice = platform::openFileDialog(
        "Please choose a Ostrel Sentrel File to load", platform::workingDirectory(), logPatterns);
    if (choice.path.empty())
        return;
    std::string bytes;
    platform::readFile(choice.path, bytes);   // a file that cannot be read is empty
    LogLines lines(bytes);
    std::string first;
    // Refused before the store is touched: the records shown stay.
    if (!lines.next(first) || first != logMagic) {
        platform::messageBox("Error", "Wrong file format", platform::MessageIcon::None);
        return;
    }
    app::setBusyCursor(true);
    loadRecords([&](LoadHeader& header) { return readLogBody(lines, header); },
                platform::displayName(fileTitleOf(choice.path)));
}

void saveRecordsAs()
{
    RecordStore& s = store();
    if (s.records.empty())
        return;   // the command is disabled then; a stale event has nothing to save
    std::string proposal = s.lastSavePath.empty() ? platform::workingDirectory() : s.lastSavePath;
    platform::FileChoice choice = platform::saveFileDialog("Please choose file to save", proposal, logPatterns);
    if (choice.path.empty())
        return;
    s.lastSavePath = choice.path;
    std::string path = choice.path;
    if (choice.pattern == recordFilePattern && !hasExtension(path))
        path += ".log";
    app::setBusyCursor(true);
    bool written = platform::replaceFile(path, formatLogFile(s.records, s.interval));
    app::setBusyCursor(false);
    if (!written) {
        platform::messageBox("Error", "Can't write " + platform::displayName(path), platform::MessageIcon::Error);
        return;
    }
    s.fileTitle = platform::displayName(fileTitleOf(path));
    showTitle(s.fileTitle);
}

std::string fileTitleOf(const std::string& path)
{
    size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace records
