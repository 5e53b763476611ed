// wine_printer.cpp: a printer for the print tests under Wine (Windows builds only).
//
// A Wine prefix takes its printers from CUPS; without CUPS it has none, and even
// printing to a file needs a printer's driver. So before the tests run, a Wine
// prefix without a default printer gets one: Wine's PostScript driver with the
// generic PPD that Wine's spooler carries, on the port "FILE:", made the default.
// A print to a file then writes PostScript. On Windows, and in a prefix that
// has a printer, nothing changes.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>

namespace {

bool underWine()
{
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// A default printer that is there: the name alone may outlive its printer.
bool hasDefaultPrinter()
{
    DWORD size = 0;
    GetDefaultPrinterW(nullptr, &size);
    if (size == 0)
        return false;
    std::wstring name(size, L'\0');
    HANDLE printer = nullptr;
    if (!GetDefaultPrinterW(name.data(), &size) || !OpenPrinterW(name.data(), &printer, nullptr))
        return false;
    ClosePrinter(printer);
    return true;
}

// Wine's generic PPD, a resource of its spooler, as a file in the temporary
// folder: its path, or "" when there is none.
std::wstring writeGenericPpd()
{
    HMODULE spooler = LoadLibraryW(L"winspool.drv");
    HRSRC found = spooler ? FindResourceW(spooler, MAKEINTRESOURCEW(1), L"PPDFILE") : nullptr;
    HGLOBAL loaded = found ? LoadResource(spooler, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes)
        return {};
    // The resource may end in zero bytes.
    const DWORD size = static_cast<DWORD>(strnlen(bytes, SizeofResource(spooler, found)));
    wchar_t folder[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    std::wstring path = std::wstring(folder) + L"climadesk-test-printer.ppd";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    DWORD written = 0;
    const bool whole = WriteFile(file, bytes, size, &written, nullptr) && written == size;
    CloseHandle(file);
    return whole ? path : std::wstring();
}

// As Wine's spooler adds a CUPS printer, but on the port "FILE:" and with a
// print processor that takes the RAW data the driver writes.
void addFilePrinter()
{
    std::wstring ppd = writeGenericPpd();
    if (ppd.empty())
        return;
    std::wstring name = L"Climadesk test printer";
    // Wine's own print processor passes the driver's PostScript on as it is.
    wchar_t driver[] = L"wineps.drv", processor[] = L"winprint", raw[] = L"RAW", port[] = L"FILE:", none[] = L"";
    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = name.data();
    info.pDriverPath = driver;
    info.pDataFile = ppd.data();
    info.pConfigFile = driver;
    info.pDefaultDataType = raw;
    if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE*>(&info), APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY)
        && GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED)
        return;
    PRINTER_INFO_2W printer = {};
    printer.pPrinterName = name.data();
    printer.pPortName = port;
    printer.pDriverName = name.data();
    printer.pDatatype = raw;
    printer.pPrintProcessor = processor;
    printer.pParameters = none;
    printer.pShareName = none;
    printer.pSepFile = none;
    if (HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE*>(&printer)))
        ClosePrinter(added);
    SetDefaultPrinterW(name.c_str());
}

class FilePrinter : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (underWine() && !hasDefaultPrinter())
            addFilePrinter();
    }
};

[[maybe_unused]] ::testing::Environment* const filePrinter = ::testing::AddGlobalTestEnvironment(new FilePrinter);

} // namespace
