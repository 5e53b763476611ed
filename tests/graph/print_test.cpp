// Printing: the enlargement and page layout as numbers, and the "Print" command
// end to end through the scripted print dialog into a PDF file, which poppler's
// pdfinfo and pdftoppm (Debian poppler-utils) read back.
//
// Where the printer's printable area lies on the PDF page is the toolkit's
// business, so the scenario finds it: after the print, it prints a black
// rectangle over the whole printable area through the same printer and
// rasterises that too. The print's layout, mapped through that rectangle, says
// where the title band and the graph must appear.
#include "support/program.h"

#include "app/ids.h"
#include "graph/print.h"
#include "platform/images.h"
#include "platform/print.h"
#include "platform/window.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

using namespace app;
namespace t = platform::testing;

namespace {

// ----- Layout as numbers -----

platform::Size enlarged(int w, int h)
{
    return graph::enlargedGraphSize({w, h});
}

void expectRect(const platform::Rect& r, int x, int y, int w, int h)
{
    EXPECT_EQ(r.x, x);
    EXPECT_EQ(r.y, y);
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
}

} // namespace

TEST(PrintLayout, EnlargesByTheSmallestWholeMultiple)
{
    EXPECT_EQ(enlarged(600, 557).width, 1200);
    EXPECT_EQ(enlarged(600, 557).height, 1114);
    EXPECT_EQ(enlarged(400, 300).width, 1200);
    EXPECT_EQ(enlarged(400, 300).height, 900);
    EXPECT_EQ(enlarged(1000, 500).width, 1000);   // wide enough already
    EXPECT_EQ(enlarged(700, 800).height, 800);    // high enough already
    EXPECT_EQ(enlarged(700, 800).width, 700);
    EXPECT_EQ(enlarged(999, 1).width, 1998);      // one short of the width: m = 2
    EXPECT_EQ(enlarged(1, 1).width, 800);         // the height reaches 800 first
}

TEST(PrintLayout, NothingToPrintWithoutWidthOrHeight)
{
    // The enlargement would never end for these; they come back unchanged.
    EXPECT_FALSE(graph::graphPrintable({0, 0}));
    EXPECT_FALSE(graph::graphPrintable({-50, -80}));
    EXPECT_FALSE(graph::graphPrintable({-50, 58}));   // window narrower than its left column
    EXPECT_FALSE(graph::graphPrintable({600, 0}));
    EXPECT_TRUE(graph::graphPrintable({1, 1}));
    EXPECT_EQ(enlarged(0, 0).width, 0);
    EXPECT_EQ(enlarged(-50, 58).width, -50);
    EXPECT_EQ(enlarged(-50, 58).height, 58);
}

TEST(PrintLayout, StretchesByOneScaleCentredAtTheTopOfTheUsableArea)
{
    // A 4800 x 6800 page less margins of 240 and 340 leaves 4320 x 6120.
    graph::PrintLayout a = graph::printLayout({1200, 1114}, {4800, 6800});
    EXPECT_FLOAT_EQ(a.scale, 3.6f);
    expectRect(a.title, 240, 340, 4320, 720);
    expectRect(a.graph, 240, 1060, 4320, 4010);

    // 4000 x 4444 leaves 3600 x 4000: s = 3.0, exactly as wide as the usable area.
    graph::PrintLayout b = graph::printLayout({1200, 1114}, {4000, 4444});
    EXPECT_FLOAT_EQ(b.scale, 3.0f);
    expectRect(b.title, 200, 222, 3600, 600);
    expectRect(b.graph, 200, 822, 3600, 3342);

    // Height-bound: a wide page centres the narrower print.
    graph::PrintLayout c = graph::printLayout({1000, 500}, {10000, 1400});
    EXPECT_FLOAT_EQ(c.scale, 1.8f);
    expectRect(c.title, 4100, 70, 1800, 360);
    expectRect(c.graph, 4100, 430, 1800, 900);

    // A page smaller than the images never shrinks them; they hang over both sides.
    graph::PrintLayout d = graph::printLayout({1200, 900}, {1000, 1000});
    EXPECT_FLOAT_EQ(d.scale, 1.0f);
    expectRect(d.title, -100, 50, 1200, 200);
    expectRect(d.graph, -100, 250, 1200, 900);
}

TEST(PrintLayout, RoundsHalvesToEven)
{
    // A graph one pixel wider than the usable area, at scale 1, starts half a
    // pixel left of the margin: 44 - 0.5 = 43.5 gives 44 and 45 - 0.5 = 44.5 gives 44.
    EXPECT_EQ(graph::printLayout({793, 1}, {880, 2000}).title.x, 44);
    EXPECT_EQ(graph::printLayout({811, 1}, {900, 2000}).title.x, 44);
    // At scale 2.5 a graph 5 high is 12.5 and one 7 high 17.5 on the page: 12 and 18.
    graph::PrintLayout a = graph::printLayout({400, 5}, {1110, 20000});
    EXPECT_FLOAT_EQ(a.scale, 2.5f);
    expectRect(a.title, 55, 1000, 1000, 500);
    expectRect(a.graph, 55, 1500, 1000, 12);
    EXPECT_EQ(graph::printLayout({400, 7}, {1110, 20000}).graph.height, 18);
}

// ----- The command, printed to a PDF file -----

namespace {

// An image id the program never uses: the black calibration rectangle.
constexpr int calibrationImage = 199;
// Grey levels below this are ink; the white of the images stays far above it.
constexpr int ink = 128;
// A colour no graph uses: scribbled on the screen's graph to see it left alone.
constexpr platform::Color scribble = platform::rgb(1, 2, 3);

// What a shell command writes to its standard output.
std::string commandOutput(const std::string& command)
{
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    pclose(pipe);
    return out;
}

// A grey raster, one byte per pixel, rows top down.
struct Raster {
    int width = 0, height = 0;
    std::vector<unsigned char> pixels;
    bool dark(int x, int y) const { return pixels[static_cast<size_t>(y * width + x)] < ink; }
};

// The first page of `pdf` rasterised in grey at 100 dpi, read from binary PGM.
Raster rasterise(const std::string& pdf)
{
    Raster r;
    std::string command = "pdftoppm -r 100 -gray -singlefile '" + pdf + "' '" + pdf + "'";
    if (std::system(command.c_str()) != 0)
        return r;
    std::ifstream in(pdf + ".pgm", std::ios::binary);
    std::string magic;
    int maxValue = 0;
    in >> magic >> r.width >> r.height >> maxValue;
    in.get();
    if (magic != "P5" || maxValue != 255)
        return {};
    r.pixels.resize(static_cast<size_t>(r.width) * static_cast<size_t>(r.height));
    in.read(reinterpret_cast<char*>(r.pixels.data()), static_cast<std::streamsize>(r.pixels.size()));
    return in ? r : Raster{};
}

// Edges of a raster area, both included.
struct Box {
    int left, top, right, bottom;
    bool empty() const { return right < left; }
    bool holds(int x, int y) const { return x >= left && x <= right && y >= top && y <= bottom; }
};

constexpr Box noInk{0, 0, -1, -1};

// The smallest box around the ink inside `area` (noInk when there is none).
Box inkIn(const Raster& r, Box area)
{
    Box box = noInk;
    for (int y = std::max(area.top, 0); y <= std::min(area.bottom, r.height - 1); ++y)
        for (int x = std::max(area.left, 0); x <= std::min(area.right, r.width - 1); ++x)
            if (r.dark(x, y)) {
                box = box.empty() ? Box{x, y, x, y} : Box{std::min(box.left, x), std::min(box.top, y),
                                                          std::max(box.right, x), std::max(box.bottom, y)};
            }
    return box;
}

// Ink pixels outside every one of `areas`.
int inkOutside(const Raster& r, const std::vector<Box>& areas)
{
    int count = 0;
    for (int y = 0; y < r.height; ++y)
        for (int x = 0; x < r.width; ++x)
            if (r.dark(x, y) && std::none_of(areas.begin(), areas.end(), [&](const Box& a) { return a.holds(x, y); }))
                ++count;
    return count;
}

// Maps printer device pixels to raster pixels through the printable area as
// found on the raster.
struct PageMap {
    Box printable;          // the printable area on the raster
    platform::Size device;  // the printable area in device pixels
    double scaleX() const { return (printable.right - printable.left + 1) / double(device.width); }
    double scaleY() const { return (printable.bottom - printable.top + 1) / double(device.height); }
    Box map(const platform::Rect& r) const
    {
        return {printable.left + int(r.x * scaleX()), printable.top + int(r.y * scaleY()),
                printable.left + int((r.x + r.width) * scaleX()) - 1,
                printable.top + int((r.y + r.height) * scaleY()) - 1};
    }
};

Box grown(Box b, int by)
{
    return {b.left - by, b.top - by, b.right + by, b.bottom + by};
}

class PrintTest : public ProgramTest {
protected:
    // What the print scenario saw while the program ran.
    struct Printed {
        platform::Size screen{0, 0};       // graph size before and after
        platform::Size page{0, 0};         // printable area, device pixels
        graph::PrintLayout layout{};       // where the images must be
        int titleWidth = 0, titleHeight = 0;   // the title text, image pixels
    };

    // Loads records, sets the file title, prints to graph.pdf, then prints the
    // calibration page to printable.pdf, and checks the screen was left alone.
    Printed printWithTitle(const std::string& title)
    {
        Printed p;
        t::post([this, title] {
            fillStore(50, 600, march15Noon);
            records::store().fileTitle = title;
            platform::fillRect(graphImage, 0, 0, 1, 1, scribble);
            t::answerPrint(pathOf("graph.pdf"));
            t::chooseMenu(menuPrint);
        });
        t::post([this, &p, title] {
            p.screen = {state().graphWidth, state().graphHeight};
            EXPECT_EQ(platform::imageSize(graphImage).width, p.screen.width);
            EXPECT_EQ(platform::imageSize(graphImage).height, p.screen.height);
            EXPECT_EQ(platform::pixel(graphImage, 0, 0), scribble);   // the screen is not redrawn
            EXPECT_FALSE(platform::imageExists(printImage));
            EXPECT_FALSE(platform::imageExists(printTitleImage));
            EXPECT_EQ(t::lastDialog().kind, "print");
            p.page = platform::printPageSize();
            p.layout = graph::printLayout(graph::enlargedGraphSize(p.screen), p.page);
            p.titleWidth = platform::textWidth(printTitleFont, title);
            p.titleHeight = platform::fontHeight(printTitleFont);
            printPrintableArea(p.page);
            t::chooseMenu(menuExit);
        });
        EXPECT_EQ(runProgram(), 0);
        EXPECT_EQ(state().graphWidth, p.screen.width);   // restored after printing
        EXPECT_EQ(state().graphHeight, p.screen.height);
        return p;
    }

    // The whole printable area in black, through the same printer.
    void printPrintableArea(platform::Size page)
    {
        t::answerPrint(pathOf("printable.pdf"));
        ASSERT_TRUE(platform::printDialog());
        ASSERT_TRUE(platform::startPrintJob("printable area"));
        platform::createImage(calibrationImage, 4, 4);
        platform::drawPrintImage(calibrationImage, 0, 0, page.width, page.height);
        platform::endPrintJob();
        platform::freeImage(calibrationImage);
    }

    // The rasterised print with the map of its page; fails on an unreadable PDF.
    std::pair<Raster, PageMap> readPrint(const Printed& p)
    {
        std::string info = commandOutput("pdfinfo '" + pathOf("graph.pdf") + "'");
        EXPECT_NE(info.find("\nPages:           1\n"), std::string::npos) << info;
        EXPECT_NE(info.find("Title:           Graph print\n"), std::string::npos) << info;
        Raster page = rasterise(pathOf("graph.pdf"));
        Raster calibration = rasterise(pathOf("printable.pdf"));
        EXPECT_GT(page.width, 0) << "pdftoppm (poppler-utils) could not rasterise the print";
        PageMap map{inkIn(calibration, {0, 0, calibration.width - 1, calibration.height - 1}), p.page};
        EXPECT_FALSE(map.printable.empty());
        return {page, map};
    }
};

} // namespace

TEST_F(PrintTest, PrintsTheTitleAboveTheGraphOnOnePage)
{
    Printed p = printWithTitle("march.log");
    auto [page, map] = readPrint(p);
    ASSERT_FALSE(page.pixels.empty());
    ASSERT_FALSE(map.printable.empty());
    Box band = map.map(p.layout.title);
    Box graphArea = map.map(p.layout.graph);
    // Nothing outside the two images.
    EXPECT_EQ(inkOutside(page, {grown(band, 2), grown(graphArea, 2)}), 0);
    // The title's letters: from y = 50 of the band down at most two lines, as
    // wide as the text, centred on the band.
    double sx = p.layout.scale * map.scaleX(), sy = p.layout.scale * map.scaleY();
    Box title = inkIn(page, band);
    ASSERT_FALSE(title.empty());
    EXPECT_GE(title.top, band.top + int(50 * sy) - 2);
    EXPECT_LE(title.bottom, band.top + int((50 + 2 * p.titleHeight) * sy) + 2);
    EXPECT_GE(title.bottom - title.top + 1, int(p.titleHeight * sy / 2));
    double inkWidth = title.right - title.left + 1;
    EXPECT_NEAR(inkWidth, p.titleWidth * sx, 0.1 * p.titleWidth * sx + 3);
    EXPECT_NEAR((title.left + title.right) / 2.0, (band.left + band.right) / 2.0, 3.0);
}

TEST_F(PrintTest, AnEmptyFileTitleLeavesTheBandBlank)
{
    Printed p = printWithTitle("");
    auto [page, map] = readPrint(p);
    ASSERT_FALSE(page.pixels.empty());
    Box band = map.map(p.layout.title);
    Box graphArea = map.map(p.layout.graph);
    EXPECT_TRUE(inkIn(page, {band.left, band.top, band.right, graphArea.top - 3}).empty());
    EXPECT_EQ(inkOutside(page, {grown(graphArea, 2)}), 0);
}

TEST_F(PrintTest, CancelPrintsNothingAndNoGraphAreaAsksNothing)
{
    t::post([this] {
        fillStore(50, 600, march15Noon);
        t::answerPrint(pathOf("first.pdf"));
        t::chooseMenu(menuPrint);
    });
    t::post([this] {
        ASSERT_FALSE(readText("first.pdf").empty());
        std::remove(pathOf("first.pdf").c_str());
        platform::fillRect(graphImage, 0, 0, 1, 1, scribble);
        t::answerPrint("");   // cancel: the printer still names first.pdf
        t::chooseMenu(menuPrint);
    });
    t::post([this] {
        EXPECT_EQ(t::lastDialog().kind, "print");
        EXPECT_EQ(readText("first.pdf"), "");
        EXPECT_EQ(platform::pixel(graphImage, 0, 0), scribble);
        t::resizeWindow(mainWindow, {150, 100});   // narrower than the left column
    });
    t::post([] {
        ASSERT_LT(state().graphWidth, 0);
        t::chooseMenu(menuPrint);   // an unscripted print dialog would fail the test
    });
    t::post([] {
        EXPECT_LT(state().graphWidth, 0);
        t::resizeWindow(mainWindow, {800, 20 + platform::statusBarHeight(statusBar)});
    });
    t::post([] {
        ASSERT_EQ(state().graphHeight, 0);
        t::chooseMenu(menuPrint);
    });
    t::post([this] {
        EXPECT_EQ(state().graphHeight, 0);
        EXPECT_EQ(readText("first.pdf"), "");
        t::chooseMenu(menuExit);
    });
    EXPECT_EQ(runProgram(), 0);
}
