// ascii.h: letter case of names that ignore it (settings keys, file name
// extensions). Only A-Z fold, the same in every locale: the names compared are
// plain ASCII, and any other byte of a path stays as it is.
#pragma once

#include <string>
#include <string_view>

namespace records {

// `text` with A-Z made a-z.
inline std::string lowerAscii(std::string_view text)
{
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return result;
}

} // namespace records
