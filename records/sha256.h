// sha256.h: the SHA-256 digest (FIPS 180-4) of a record file's bytes, so that a
// report names exactly the file it was made from.
#pragma once

#include <string>
#include <string_view>

namespace records {

// The digest of `bytes` as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

} // namespace records
