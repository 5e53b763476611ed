// platform.h: start and stop the platform layer, and the small types every
// platform header shares.
//
// The platform layer is the only code that touches Qt, libjpeg or the operating
// system. Everything above it addresses windows, controls, images and fonts by
// small integer identifiers that the caller chooses (0 is a valid id). Texts are
// std::string in Windows-1252 (degree sign "\xB0"); file paths are passed as the
// operating system gives them. One thread only.
#pragma once

#include <cstdint>

namespace platform {

// A colour as red + 256 * green + 65536 * blue (red in the low byte).
using Color = uint32_t;

constexpr Color rgb(int red, int green, int blue)
{
    return static_cast<Color>(red) | static_cast<Color>(green) << 8 | static_cast<Color>(blue) << 16;
}

// A rectangle in client coordinates of its window, in pixels.
struct Rect {
    int x, y, width, height;
};

struct Size {
    int width, height;
};

// Starts the toolkit (once per process) and empties every table of the layer.
void init();
// init() with no display, whatever the environment names: for work on the
// command line that draws text into images. The screen is then the toolkit's
// off-screen one (96 dots per inch), so pictures never depend on a monitor, and
// the toolkit's notices stay off standard error. Has no effect on a toolkit
// that init() started already.
void initHeadless();

// Destroys every window, control, menu, image and font, and closes sockets.
// The toolkit itself stays alive so that init() can run again (tests do).
void shutdown();

} // namespace platform
