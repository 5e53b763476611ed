// print.h: the File menu's "Print": the graph under the file title on one page.
//
// The graph is drawn off-screen again at a whole multiple of its screen size
// (enlargedGraphSize), with the screen's fonts and one-pixel lines, so that text
// and lines come out relatively finer on paper. Above it goes a title band of
// printTitleHeight pixels with the file title centred. Both images are stretched
// by one factor (never below 1), centred across the page less margins of one
// twentieth, and stacked at the top of that area (printLayout). The screen's
// graph image, scroll position, status bar and settings are left as they were.
//
// Nothing is reported: a cancelled print dialog or a job that does not start
// prints nothing, and so does a graph area without width or height (a window
// shrunk below its left column), for which nothing is asked either.
#pragma once

#include "platform/platform.h"

#include <cstdint>

namespace graph {

// Height of the title band above the graph, in image pixels.
constexpr int32_t printTitleHeight = 200;

// True when the graph area has something to print: width and height above 0.
bool graphPrintable(platform::Size graph);

// The graph size times the smallest whole multiple m >= 1 that reaches a width
// of 1000 or a height of 800 (600 x 557 gives 1200 x 1114). A size that is not
// printable is returned unchanged.
platform::Size enlargedGraphSize(platform::Size graph);

// Where the two images go on the printer page, in device pixels.
struct PrintLayout {
    // Printer pixels per image pixel, single precision, at least 1.
    float scale;
    // The title band, stretched, at the top of the usable area.
    platform::Rect title;
    // The graph, stretched, right below the title band.
    platform::Rect graph;
};

// The layout of an (enlarged, printable) graph of `graph` pixels on a printable
// page of `page` device pixels. Positions are rounded to the nearest pixel,
// halves to even. A page too small for the images gives scale 1: they are
// printed one device pixel per image pixel and cut off by the page.
PrintLayout printLayout(platform::Size graph, platform::Size page);

// The "Print" command: print dialog, then one page of the job "Graph print".
void printGraph();

} // namespace graph
