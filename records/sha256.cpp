// sha256.cpp: SHA-256 after FIPS 180-4, one 64-byte block at a time.
#include "records/sha256.h"

#include <algorithm>
#include <cstddef>

namespace records {

namespace {

constexpr std::array<uint32_t, 64> roundConstants = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2,
};

using State = std::array<uint32_t, 8>;

uint32_t rotr(uint32_t x, int n)
{
    return x >> n | x << (32 - n);
}

// Mixes one 64-byte block into `h`.
void compress(State& h, const unsigned char* block)
{
    std::array<uint32_t, 64> w{};
    for (int i = 0; i < 16; ++i)
        w[i] = uint32_t{block[4 * i]} << 24 | uint32_t{block[4 * i + 1]} << 16 | uint32_t{block[4 * i + 2]} << 8
            | uint32_t{block[4 * i + 3]};
    for (int i = 16; i < 64; ++i) {
        uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ w[i - 15] >> 3;
        uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ w[i - 2] >> 10;
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    State v = h;
    for (int i = 0; i < 64; ++i) {
        uint32_t s1 = rotr(v[4], 6) ^ rotr(v[4], 11) ^ rotr(v[4], 25);
        uint32_t choice = (v[4] & v[5]) ^ (~v[4] & v[6]);
        uint32_t t1 = v[7] + s1 + choice + roundConstants[i] + w[i];
        uint32_t s0 = rotr(v[0], 2) ^ rotr(v[0], 13) ^ rotr(v[0], 22);
        uint32_t majority = (v[0] & v[1]) ^ (v[0] & v[2]) ^ (v[1] & v[2]);
        uint32_t t2 = s0 + majority;
        v = {t1 + t2, v[0], v[1], v[2], v[3] + t1, v[4], v[5], v[6]};
    }
    for (int i = 0; i < 8; ++i)
        h[i] += v[i];
}

} // namespace

void Sha256::add(std::string_view bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    size_t size = bytes.size();
    total_ += size;
    while (size > 0) {
        if (filled_ == 0 && size >= block_.size()) {
            compress(state_, data);
            data += block_.size();
            size -= block_.size();
            continue;
        }
        const size_t taken = std::min(size, block_.size() - filled_);
        std::copy(data, data + taken, block_.begin() + static_cast<std::ptrdiff_t>(filled_));
        filled_ += taken;
        data += taken;
        size -= taken;
        if (filled_ == block_.size()) {
            compress(state_, block_.data());
            filled_ = 0;
        }
    }
}

std::string Sha256::hex()
{
    // The rest, a 1 bit, zeros, and the length in bits: one or two blocks.
    std::array<unsigned char, 128> tail{};
    std::copy(block_.begin(), block_.begin() + static_cast<std::ptrdiff_t>(filled_), tail.begin());
    tail[filled_] = 0x80;
    const size_t tailSize = filled_ < 56 ? 64 : 128;
    const uint64_t bits = total_ * 8;
    for (int i = 0; i < 8; ++i)
        tail[tailSize - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    for (size_t at = 0; at < tailSize; at += 64)
        compress(state_, tail.data() + at);
    static const char digits[] = "0123456789abcdef";
    std::string text;
    for (uint32_t word : state_)
        for (int shift = 28; shift >= 0; shift -= 4)
            text += digits[word >> shift & 0xF];
    return text;
}

std::string sha256Hex(std::string_view bytes)
{
    Sha256 digest;
    digest.add(bytes);
    return digest.hex();
}

} // namespace records
