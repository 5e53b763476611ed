# EmbedFiles.cmake: writes the C++ source that holds the program's pictures as byte
# arrays and defines the accessors declared in assets/assets.h.
#
# Run at build time with `cmake -P`:
#   -DASSET_DIR=<folder with the pictures>
#   -DFILES=<file names separated by commas, e.g. logo.jpg,icon-16.png>
#   -DOUTPUT=<the .cpp to write>
# Each file becomes an array named after the file (logo.jpg -> logo_jpg). A missing or
# empty file stops the build with a message, so the program never ships without a picture.

foreach(var ASSET_DIR FILES OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "EmbedFiles: ${var} is not set")
  endif()
endforeach()

string(REPLACE "," ";" file_list "${FILES}")

# Returns in `out` one array definition holding the bytes of `path`.
function(embed_array path symbol out)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "EmbedFiles: ${path} does not exist")
  endif()
  file(READ "${path}" hex HEX)
  if(hex STREQUAL "")
    message(FATAL_ERROR "EmbedFiles: ${path} is empty")
  endif()
  # Sixteen bytes a line, each written as 0xNN.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
         "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "\n$" "" bytes "${bytes}")
  get_filename_component(name "${path}" NAME)
  set(${out} "// ${name}\nconst unsigned char ${symbol}[] = {\n${bytes}\n};\n\n" PARENT_SCOPE)
endfunction()

set(arrays "")
foreach(file IN LISTS file_list)
  string(MAKE_C_IDENTIFIER "${file}" symbol)
  embed_array("${ASSET_DIR}/${file}" ${symbol} array)
  string(APPEND arrays "${array}")
endforeach()

file(CONFIGURE OUTPUT "${OUTPUT}" @ONLY CONTENT [=[
// Generated at build time by cmake/EmbedFiles.cmake from the pictures in assets/.
// Do not edit: change the pictures (assets/make-assets.sh) and rebuild.
#include "assets/assets.h"

namespace assets {
namespace {

@arrays@} // namespace

Blob logoJpeg() { return {logo_jpg, sizeof logo_jpg}; }

Blob deviceJpeg() { return {device_jpg, sizeof device_jpg}; }

Blob iconPng(int pixels) {
  switch (pixels) {
  case 16: return {icon_16_png, sizeof icon_16_png};
  case 24: return {icon_24_png, sizeof icon_24_png};
  case 32: return {icon_32_png, sizeof icon_32_png};
  case 64: return {icon_64_png, sizeof icon_64_png};
  default: return {nullptr, 0};
  }
}

} // namespace assets
]=])
