#include "export/command.h"

#include "app/commands.h"
#include "export/sheet.h"
#include "platform/dialogs.h"
#include "platform/file.h"
#include "records/store.h"

#include <cctype>
#include <new>

namespace xls {

namespace {

const char* const xlsPatterns = "Excel 97-2003 File (*.xls)|*.xls|All files (*.*)|*.*";

std::string lowerCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void reportWriteFailure(const std::string& path)
{
    platform::messageBox("Error", "Can't write " + platform::displayName(path), platform::MessageIcon::Error);
}

// Builds and writes the workbook; false when memory or the file fails.
bool writeWorkbook(const std::string& path)
{
    std::string bytes;
    try {
        bytes = workbookBytes(records::store().records);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return platform::replaceFile(path, bytes);
}

} // namespace

std::string proposedExportPath(const std::string& lastSavePath)
{
    std::string path = lastSavePath.empty() ? platform::workingDirectory() : lastSavePath;
    std::string lower = lowerCase(path);
    for (size_t at; (at = lower.find(".xls")) != std::string::npos;) {
        path.erase(at, 4);
        lower.erase(at, 4);
    }
    return path + ".xls";
}

void exportAsExcel()
{
    const records::RecordStore& s = records::store();
    // Checked before asking for a file: a larger store has no one-sheet form.
    if (!fitsOneSheet(s.records.size())) {
        platform::messageBox("Error", "Can't export more than 65535 records to one sheet", platform::MessageIcon::Error);
        return;
    }
    platform::FileChoice choice =
        platform::saveFileDialog("Please choose file to save", proposedExportPath(s.lastSavePath), xlsPatterns);
    if (choice.path.empty())
        return;
    app::setBusyCursor(true);
    bool written = writeWorkbook(choice.path);
    app::setBusyCursor(false);
    if (!written)
        reportWriteFailure(choice.path);
}

} // namespace xls
