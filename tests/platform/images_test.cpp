// Pixels of the drawing operations, fonts, and JPEG decoding.
#include "support/seam.h"

#include "assets/assets.h"
#include "platform/controls.h"
#include "platform/images.h"
#include "platform/window.h"

#include <cstdlib>
#include <filesystem>
#include <set>
#include <utility>
#include <vector>

using namespace platform;

namespace {

constexpr int canvas = 1;
constexpr int font = 2;
constexpr Color grey = rgb(128, 128, 128);
constexpr Color red = rgb(255, 0, 0);

class ImagesTest : public SeamTest {};

using Pixels = std::set<std::pair<int, int>>;

Pixels paintedPixels(int image, Color color)
{
    Pixels painted;
    Size size = imageSize(image);
    for (int y = 0; y < size.height; ++y)
        for (int x = 0; x < size.width; ++x)
            if (pixel(image, x, y) == color)
                painted.insert({x, y});
    return painted;
}

Pixels lineOn(int w, int h, int x1, int y1, int x2, int y2)
{
    createImage(canvas, w, h);
    fillRect(canvas, 0, 0, w, h, grey);
    drawLine(canvas, x1, y1, x2, y2, red);
    return paintedPixels(canvas, red);
}

// Checks that `line` is a thin, connected line between the end points that never
// strays half a pixel or more from the ideal one.
void expectGoodLine(const Pixels& line, int x1, int y1, int x2, int y2)
{
    ASSERT_TRUE(line.count({x1, y1}));
    ASSERT_TRUE(line.count({x2, y2}));
    EXPECT_EQ(line.size(), static_cast<size_t>(std::max(std::abs(x2 - x1), std::abs(y2 - y1)) + 1));
    double dx = x2 - x1, dy = y2 - y1;
    for (auto [x, y] : line) {
        double distance = std::abs(dy * (x - x1) - dx * (y - y1)) / std::max(std::abs(dx), std::abs(dy));
        EXPECT_LE(distance, 0.5) << "pixel " << x << "," << y;
    }
}

} // namespace

TEST_F(ImagesTest, FillRectCoversExactlyItsPixelsAndClips)
{
    createImage(canvas, 10, 8);
    fillRect(canvas, 0, 0, 10, 8, grey);
    fillRect(canvas, 2, 3, 4, 2, red);
    Pixels expected;
    for (int y = 3; y < 5; ++y)
        for (int x = 2; x < 6; ++x)
            expected.insert({x, y});
    EXPECT_EQ(paintedPixels(canvas, red), expected);

    fillRect(canvas, 0, 0, 10, 8, grey);
    fillRect(canvas, -3, 6, 5, 100, red);   // sticks out left and below
    EXPECT_EQ(paintedPixels(canvas, red), (Pixels{{0, 6}, {1, 6}, {0, 7}, {1, 7}}));

    fillRect(canvas, 0, 0, 10, 8, grey);
    fillRect(canvas, 4, 4, 0, 3, red);       // empty
    fillRect(canvas, 2147483600, 0, 100, 1, red);
    EXPECT_TRUE(paintedPixels(canvas, red).empty());
}

TEST_F(ImagesTest, LinesIncludeBothEndsInEveryDirection)
{
    EXPECT_EQ(lineOn(10, 10, 2, 4, 6, 4), (Pixels{{2, 4}, {3, 4}, {4, 4}, {5, 4}, {6, 4}}));
    EXPECT_EQ(lineOn(10, 10, 3, 7, 3, 5), (Pixels{{3, 5}, {3, 6}, {3, 7}}));
    EXPECT_EQ(lineOn(10, 10, 5, 5, 5, 5), (Pixels{{5, 5}}));
    expectGoodLine(lineOn(20, 20, 1, 2, 15, 7), 1, 2, 15, 7);      // shallow
    expectGoodLine(lineOn(20, 20, 15, 7, 1, 2), 15, 7, 1, 2);      // shallow, backwards
    expectGoodLine(lineOn(20, 20, 3, 1, 6, 18), 3, 1, 6, 18);      // steep
    expectGoodLine(lineOn(20, 20, 6, 18, 3, 1), 6, 18, 3, 1);      // steep, backwards
    expectGoodLine(lineOn(20, 20, 0, 19, 19, 0), 0, 19, 19, 0);    // diagonal
}

TEST_F(ImagesTest, LinesAreClippedAtTheImageBorder)
{
    EXPECT_EQ(lineOn(4, 4, -5, -5, 5, 5), (Pixels{{0, 0}, {1, 1}, {2, 2}, {3, 3}}));
    EXPECT_EQ(lineOn(4, 4, 0, 3, 9, 3), (Pixels{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));
    EXPECT_TRUE(lineOn(4, 4, -10, 1, -1, 2).empty());
    EXPECT_TRUE(lineOn(4, 4, 0, 2000000000, 3, 2000000001).empty());
}

TEST_F(ImagesTest, FillMaskPaintsEachSetBitAndClips)
{
    // 70 columns (two blocks of 64) by two words of rows, placed so that the
    // first column and row, and the last rows, fall off a 66 x 100 image.
    const int columns = 70, words = 2, x = -1, y = -1;
    std::vector<uint64_t> mask(columns * words);
    for (int i = 0; i < columns; ++i)
        for (int w = 0; w < words; ++w)
            mask[w * columns + i] = (0x9E3779B97F4A7C15ULL * static_cast<uint64_t>(i * 7 + w + 1)) ^ (uint64_t{1} << 63);
    createImage(canvas, 66, 100);
    fillRect(canvas, 0, 0, 66, 100, grey);
    fillMask(canvas, x, y, mask.data(), columns, words, red);
    Pixels expected;
    for (int i = 0; i < columns; ++i)
        for (int row = 0; row < 64 * words; ++row)
            if (mask[row / 64 * columns + i] >> (row % 64) & 1) {
                int px = x + i, py = y + row;
                if (px >= 0 && py >= 0 && px < 66 && py < 100)
                    expected.insert({px, py});
            }
    EXPECT_GT(expected.size(), 1000u);
    EXPECT_EQ(paintedPixels(canvas, red), expected);

    fillRect(canvas, 0, 0, 66, 100, grey);
    fillMask(canvas, 70, 0, mask.data(), columns, words, red);   // wholly right of the image
    EXPECT_TRUE(paintedPixels(canvas, red).empty());
}

// A control shows the image while the program draws the next picture into it:
// every whole fill and what follows it lands in the image, never in the
// picture shown, however often the two trade places.
TEST_F(ImagesTest, AnImageShownByAControlIsDrawnAfreshOverAndOver)
{
    constexpr int window = 3, view = 21;
    openWindow({window, noOwner, "Test window", {400, 300}, true, StyleFixed});
    createImageView(window, view, {0, 0, 1, 1});
    createImage(canvas, 30, 20);
    for (int round = 0; round < 4; ++round) {
        Color back = round % 2 ? grey : rgb(0, 0, 255);
        fillRect(canvas, 0, 0, 30, 20, back);
        fillRect(canvas, round, 2, 3, 3, red);
        EXPECT_EQ(pixel(canvas, round + 1, 3), red);
        EXPECT_EQ(pixel(canvas, (round + 10) % 30, 10), back);
        EXPECT_EQ(paintedPixels(canvas, red).size(), 9u) << "round " << round;
        setControlImage(view, canvas);
    }
    createImage(canvas, 12, 7);   // a new size after trading places
    fillRect(canvas, 0, 0, 12, 7, grey);
    EXPECT_EQ(imageSize(canvas).width, 12);
    EXPECT_EQ(paintedPixels(canvas, grey).size(), 84u);
}

TEST_F(ImagesTest, TextSitsOnAnOpaqueBoxAtItsTopLeftCorner)
{
    createFont(font, "Arial", 10, true);
    createImage(canvas, 200, 40);
    fillRect(canvas, 0, 0, 200, 40, grey);
    std::string text = "Humidity (%RH)";
    drawText(canvas, font, 10, 5, text, rgb(0, 0, 0), rgb(255, 255, 255));
    int width = textWidth(font, text);
    ASSERT_GT(width, 40);
    EXPECT_EQ(pixel(canvas, 9, 5), grey);
    EXPECT_EQ(pixel(canvas, 10, 4), grey);
    EXPECT_EQ(pixel(canvas, 10 + width, 6), grey);
    size_t black = 0;
    for (int y = 5; y < 5 + fontHeight(font); ++y)
        for (int x = 10; x < 10 + width; ++x) {
            Color c = pixel(canvas, x, y);
            ASSERT_TRUE(c == rgb(0, 0, 0) || c == rgb(255, 255, 255)) << x << "," << y;
            black += c == rgb(0, 0, 0);
        }
    EXPECT_GT(black, 50u);
}

TEST_F(ImagesTest, FontSizesFollowPointsAndWidthsAreStable)
{
    createFont(font, "Arial", 10, true);
    EXPECT_EQ(fontHeight(font), 13);   // 10 pt at the 96 dpi of the offscreen screen
    std::string caption = "Temperature (\xB0" "C)";
    int width = textWidth(font, caption);
    EXPECT_GT(width, 0);
    EXPECT_EQ(textWidth(font, caption), width);
    createFont(font, "Arial", 10, true);
    EXPECT_EQ(textWidth(font, caption), width);
    EXPECT_LT(textWidth(font, "Temperature ("), width);   // the degree sign has a width
    createFont(font, "Arial", 40, true);
    EXPECT_GT(textWidth(font, caption), 3 * width);
}

TEST_F(ImagesTest, JpegPicturesDecodeAtTheirSizes)
{
    assets::Blob logo = assets::logoJpeg();
    ASSERT_TRUE(decodeJpeg(canvas, logo.data, logo.size));
    EXPECT_EQ(imageSize(canvas).width, 200);
    EXPECT_EQ(imageSize(canvas).height, 101);
    assets::Blob device = assets::deviceJpeg();
    ASSERT_TRUE(decodeJpeg(canvas, device.data, device.size));
    EXPECT_EQ(imageSize(canvas).width, 400);
    EXPECT_EQ(imageSize(canvas).height, 201);
    std::set<Color> colours;
    for (int x = 0; x < 400; x += 7)
        colours.insert(pixel(canvas, x, 100));
    EXPECT_GT(colours.size(), 3u);   // a picture, not a flat fill

    const unsigned char garbage[] = {0xFF, 0xD8, 0xFF, 0x00, 0x12, 0x34, 0x56};
    EXPECT_FALSE(decodeJpeg(canvas, garbage, sizeof garbage));
    EXPECT_FALSE(imageExists(canvas));
    EXPECT_FALSE(decodeJpeg(canvas, logo.data, 100));
}

// A PNG file holds the image's pixels; an image libpng refuses (wider than its
// limit of a million pixels) is a failure that leaves the old file as it was.
TEST_F(ImagesTest, PngFilesHoldThePixelsAndAFailureKeepsTheOldFile)
{
    constexpr int readBack = 3;
    createImage(canvas, 30, 20);
    fillRect(canvas, 0, 0, 30, 20, grey);
    fillRect(canvas, 3, 4, 5, 6, red);
    ASSERT_TRUE(writeImagePng(canvas, pathOf("graph.png")));
    const std::string written = readText("graph.png");
    ASSERT_TRUE(platform::testing::loadImagePng(readBack, pathOf("graph.png")));
    EXPECT_EQ(differingPixels(readBack, canvas), 0);

    createImage(canvas, 1000001, 1);
    EXPECT_FALSE(writeImagePng(canvas, pathOf("graph.png")));
    EXPECT_EQ(readText("graph.png"), written);
    EXPECT_FALSE(writeImagePng(canvas, pathOf("wide.png")));
    EXPECT_FALSE(std::filesystem::exists(pathOf("wide.png")));
}
