// One-page print jobs on a Windows printer. Under test the scripted answer sends
// the page to a file: through "Microsoft Print to PDF" where Windows has it, else
// through the default printer's driver (Wine's writes PostScript).
#include "platform/print.h"
#include "platform/seam.h"
#include "platform/testing.h"
#include "platform/win32/internal.h"

#include <commdlg.h>
#include <winspool.h>

namespace platform {

namespace {

struct PrintState {
    HDC printer = nullptr;
    std::wstring outputFile;   // "" prints on paper
    bool printing = false;
};

PrintState state;

void setPrinter(HDC dc)
{
    if (state.printer)
        DeleteDC(state.printer);
    state.printer = dc;
}

HDC printerNamed(const wchar_t* name)
{
    return CreateDCW(L"WINSPOOL", name, nullptr, nullptr);
}

HDC defaultPrinter()
{
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        return nullptr;
    std::wstring name(size, L'\0');
    if (!GetDefaultPrinterW(name.data(), &size))
        return nullptr;
    return printerNamed(name.c_str());
}

HDC fileOutputPrinter()
{
    if (HDC pdf = printerNamed(L"Microsoft Print to PDF"))
        return pdf;
    return defaultPrinter();
}

} // namespace

bool printDialog()
{
    if (testing::active()) {
        std::optional<std::string> file = seam::scriptedPrint();
        if (!file)
            return false;
        setPrinter(fileOutputPrinter());
        state.outputFile = win32::fromPath(*file);
        return state.printer != nullptr;
    }
    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = win32::dialogOwner();
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!PrintDlgW(&dialog))
        return false;
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    setPrinter(dialog.hDC);
    state.outputFile.clear();
    return state.printer != nullptr;
}

bool startPrintJob(const std::string& jobName)
{
    if (!state.printer)
        setPrinter(defaultPrinter());
    if (!state.printer)
        return false;
    std::wstring name = win32::fromCp1252(jobName);
    DOCINFOW document{};
    document.cbSize = sizeof document;
    document.lpszDocName = name.c_str();
    document.lpszOutput = state.outputFile.empty() ? nullptr : state.outputFile.c_str();
    if (StartDocW(state.printer, &document) <= 0)
        return false;
    if (StartPage(state.printer) <= 0) {
        AbortDoc(state.printer);
        return false;
    }
    state.printing = true;
    return true;
}

Size printPageSize()
{
    if (!state.printer)
        return {0, 0};
    return {GetDeviceCaps(state.printer, HORZRES), GetDeviceCaps(state.printer, VERTRES)};
}

void drawPrintImage(int image, int x, int y, int width, int height)
{
    std::optional<win32::Canvas> canvas = win32::canvasOf(image);
    if (!state.printing || !canvas)
        return;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = canvas->width;
    info.bmiHeader.biHeight = -canvas->height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetStretchBltMode(state.printer, COLORONCOLOR);
    StretchDIBits(state.printer, x, y, width, height, 0, 0, canvas->width, canvas->height, canvas->bits, &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

void endPrintJob()
{
    if (!state.printing)
        return;
    EndPage(state.printer);
    EndDoc(state.printer);
    state.printing = false;
}

} // namespace platform
