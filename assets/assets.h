// assets.h: the program's own pictures, compiled into the program.
//
// The files in assets/ (drawn by make-assets.sh) become byte arrays at build time
// (cmake/EmbedFiles.cmake), so the program needs no picture files beside it. Each
// accessor returns a file's bytes unchanged:
//   logo     JPEG, 200 x 101, About window
//   device   JPEG, 400 x 201, Download and Monitor windows
//   icon     PNG with transparency, 16, 24, 32 or 64 px square, every window
// The bytes live as long as the program; never free them. Decoding is the caller's
// job (platform::decodeJpeg for the JPEGs).
#pragma once

#include <cstddef>

namespace assets {

// Bytes of one embedded file; {nullptr, 0} when there is no such file.
struct Blob {
  const unsigned char* data;
  size_t size;
};

// The logo shown in the About window.
Blob logoJpeg();
// The picture of the logger on the network, shown in the Download and Monitor windows.
Blob deviceJpeg();
// The program icon at `pixels` (16, 24, 32 or 64); {nullptr, 0} for any other size.
Blob iconPng(int pixels);

} // namespace assets
