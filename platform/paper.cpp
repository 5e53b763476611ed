// paper.cpp: the system's paper size, from the locale.
#include "platform/paper.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>
#include <langinfo.h>
#include <locale.h>
#endif

namespace platform {

namespace {

#ifndef _WIN32
// Letter is 216 x 279 mm; glibc gives the locale's paper width in millimetres.
constexpr uint32_t letterWidthMm = 216;
#endif

} // namespace

bool paperIsLetter()
{
#ifdef _WIN32
    // LOCALE_IPAPERSIZE: 1 for Letter, 9 for A4.
    wchar_t size[8] = {};
    return GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IPAPERSIZE, size, 8) > 0 && size[0] == L'1' && size[1] == 0;
#elif defined(__GLIBC__)
    // A locale of its own, so the program's other categories stay as they are.
    locale_t paper = newlocale(LC_PAPER_MASK, "", static_cast<locale_t>(0));
    if (paper == static_cast<locale_t>(0))
        return false;
    // The width is a 32-bit word returned in the pointer's low bits; the rest
    // of the pointer holds nothing (glibc's own readers keep only the word).
    const char* width = nl_langinfo_l(_NL_PAPER_WIDTH, paper);
    const bool letter = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(width)) == letterWidthMm;
    freelocale(paper);
    return letter;
#else
    return false;
#endif
}

} // namespace platform
