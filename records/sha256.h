// sha256.h: the SHA-256 digest (FIPS 180-4) of a record file's bytes, so that a
// report names exactly the file it was made from.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace records {

// A digest taken piece by piece, as a file is read: add the bytes in order, in
// pieces of any size, then take the digest once.
class Sha256 {
public:
    void add(std::string_view bytes);
    // The digest of everything added, as 64 lower-case hexadecimal digits.
    std::string hex();

private:
    std::array<uint32_t, 8> state_ = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                      0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};
    std::array<unsigned char, 64> block_{};
    size_t filled_ = 0;
    uint64_t total_ = 0;
};

// The digest of `bytes` as 64 lower-case hexadecimal digits.
std::string sha256Hex(std::string_view bytes);

} // namespace records
