#include "report/command.h"

#include "app/commands.h"
#include "platform/dialogs.h"
#include "platform/file.h"
#include "records/recordfile.h"
#include "records/store.h"
#include "report/report.h"

namespace report {

namespace {

const char* const reportPatterns = "PDF File (*.pdf)|*.pdf|All files (*.*)|*.*";
constexpr int pdfPattern = 0;

// `path` without the extension of its file name, if it has one.
std::string withoutExtension(const std::string& path)
{
    const std::string title = records::fileTitleOf(path);
    const size_t dot = title.rfind('.');
    return dot == std::string::npos ? path : path.substr(0, path.size() - title.size() + dot);
}

} // namespace

std::string proposedReportPath(const std::string& lastSavePath)
{
    return lastSavePath.empty() ? platform::workingDirectory() : withoutExtension(lastSavePath) + ".pdf";
}

void exportReport()
{
    const records::RecordStore& s = records::store();
    if (s.records.empty())
        return;   // the command is disabled then; a stale event has nothing to report
    const platform::FileChoice chosen =
        platform::saveFileDialog("Please choose file to save", proposedReportPath(s.lastSavePath), reportPatterns);
    if (chosen.path.empty())
        return;
    const bool bare = records::fileTitleOf(chosen.path).find('.') == std::string::npos;
    const std::string path = chosen.pattern == pdfPattern && bare ? chosen.path + ".pdf" : chosen.path;
    app::setBusyCursor(true);
    const bool written = writeReport(path);
    app::setBusyCursor(false);
    if (!written)
        platform::messageBox("Error", "Can't write " + platform::displayName(path), platform::MessageIcon::Error);
}

} // namespace report
