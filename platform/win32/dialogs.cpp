// The common dialogs, message boxes and the shell. Under test each dialog takes a
// scripted answer instead.
#include "platform/dialogs.h"
#include "platform/seam.h"
#include "platform/testing.h"
#include "platform/win32/internal.h"

#include <commdlg.h>
#include <shellapi.h>

namespace platform {

namespace {

// "Name (*.ext)|*.ext|..." is the filter list of Windows with "|" for its
// nulls; two nulls end it.
std::wstring filterList(const std::string& patterns)
{
    std::wstring filters = win32::fromCp1252(patterns);
    for (wchar_t& c : filters)
        if (c == L'|')
            c = L'\0';
    filters.push_back(L'\0');
    filters.push_back(L'\0');
    return filters;
}

FileChoice fileDialog(bool save, const std::string& title, const std::string& proposedPath, const std::string& patterns)
{
    seam::SplitPath proposal = seam::splitPath(proposedPath);
    if (testing::active())
        return seam::scriptedFileChoice(save ? "save file" : "open file", title, proposal, patterns);
    std::wstring filters = filterList(patterns);
    std::wstring caption = win32::fromCp1252(title);
    std::wstring folder = win32::fromPath(proposal.folder);
    std::wstring name = win32::fromPath(proposal.fileName);
    std::vector<wchar_t> buffer(32768, L'\0');
    name.copy(buffer.data(), std::min(name.size(), buffer.size() - 1));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = win32::dialogOwner();
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = caption.c_str();
    // The working folder holds the settings file: the dialog must not move it.
    // No overwrite prompt, and no extension is added to a name typed without one.
    dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_PATHMUSTEXIST
        | (save ? 0 : OFN_FILEMUSTEXIST);
    BOOL chosen = save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
    if (!chosen)
        return {std::string(), 0};
    return {win32::toPath(buffer.data()), static_cast<int>(dialog.nFilterIndex > 0 ? dialog.nFilterIndex - 1 : 0)};
}

UINT iconOf(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Error: return MB_ICONERROR;
    case MessageIcon::Warning: return MB_ICONWARNING;
    case MessageIcon::None: break;
    }
    return 0;
}

} // namespace

FileChoice openFileDialog(const std::string& title, const std::string& proposedPath, const std::string& patterns)
{
    return fileDialog(false, title, proposedPath, patterns);
}

FileChoice saveFileDialog(const std::string& title, const std::string& proposedPath, const std::string& patterns)
{
    return fileDialog(true, title, proposedPath, patterns);
}

std::optional<Color> chooseColor(Color preset)
{
    if (testing::active())
        return seam::scriptedColor();
    static COLORREF custom[16] = {};
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = win32::dialogOwner();
    dialog.rgbResult = preset & 0xFFFFFF;   // both keep red in the low byte
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!ChooseColorW(&dialog))
        return std::nullopt;
    return rgb(GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult), GetBValue(dialog.rgbResult));
}

void beep()
{
    win32::beep();
}

// The focus goes back to the control that had it before the box took it.
void messageBox(const std::string& title, const std::string& text, MessageIcon icon)
{
    HWND focus = GetFocus();
    if (testing::active()) {
        SetFocus(nullptr);   // as the box would take it
        seam::recordMessage(title, text, icon);
    } else {
        MessageBoxW(win32::dialogOwner(), win32::fromCp1252(text).c_str(), win32::fromCp1252(title).c_str(),
                    MB_OK | iconOf(icon));
    }
    if (focus && IsWindow(focus))
        SetFocus(focus);
}

void openWebAddress(const std::string& url)
{
    if (testing::active()) {
        seam::recordWebAddress(url);
        return;
    }
    ShellExecuteW(nullptr, L"open", win32::fromCp1252(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace platform
