#include "records/commands.h"

#include "app/commands.h"
#include "app/ids.h"
#include "platform/dialogs.h"
#include "platform/file.h"
#include "platform/window.h"
#include "records/load.h"
#include "records/recordfile.h"
#include "records/store.h"

namespace records {

namespace {

const char* const logPatterns = "OSTREL record (*.log)|*.log|All files (*.*)|*.*";
constexpr int recordFilePattern = 0;

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
    // Read whole before the store is touched: a refused file leaves the records
    // shown. A file that cannot be read is refused like one of another format.
    RecordSeries series;
    if (readRecordFile(choice.path, series, Digest::Take) != ReadResult::Done) {
        platform::messageBox("Error", "Wrong file format", platform::MessageIcon::None);
        return;
    }
    app::setBusyCursor(true);
    loadSeries(series, platform::displayName(fileTitleOf(choice.path)));
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
    std::string digest;
    bool written = writeRecordFile(path, s.records, s.interval, &digest);
    app::setBusyCursor(false);
    if (!written) {
        platform::messageBox("Error", "Can't write " + platform::displayName(path), platform::MessageIcon::Error);
        return;
    }
    s.fileTitle = platform::displayName(fileTitleOf(path));
    s.fileDigest = digest;
    showTitle(s.fileTitle);
}

} // namespace records
