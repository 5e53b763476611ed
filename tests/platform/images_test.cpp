// Pixels of the drawing operations, fonts, and JPEG decoding.
#include "support/seam.h"

#include "assets/assets.h"
#include "platform/images.h"

#include <cstdlib>
#include <set>
#include <utility>

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
