// document.cpp: flowing text, table rows and a picture on libharu's pages.
#include "report/document.h"

namespace report {

namespace {

constexpr float margin = 45;
constexpr float footerSpace = 40;   // kept free above the bottom margin for the page foot
constexpr float footerSize = 8;

void noteError(HPDF_STATUS, HPDF_STATUS, void* user)
{
    static_cast<Document*>(user)->failed = true;
}

void newPage(Document& d)
{
    HPDF_Page page = HPDF_AddPage(d.pdf);
    HPDF_Page_SetWidth(page, d.width);
    HPDF_Page_SetHeight(page, d.height);
    d.pages.push_back(page);
    d.y = d.height - margin;
}

float bottom()
{
    return margin + footerSpace;
}

// Room for `points` more on the current page, or a new page.
void ensure(Document& d, float points)
{
    if (d.pages.empty() || d.y - points < bottom())
        newPage(d);
}

void drawText(HPDF_Page page, HPDF_Font font, float size, float x, float y, const std::string& text)
{
    if (text.empty())
        return;
    HPDF_Page_BeginText(page);
    HPDF_Page_SetFontAndSize(page, font, size);
    HPDF_Page_TextOut(page, x, y, text.c_str());
    HPDF_Page_EndText(page);
}

float widthOf(HPDF_Page page, HPDF_Font font, float size, const std::string& text)
{
    HPDF_Page_SetFontAndSize(page, font, size);
    return HPDF_Page_TextWidth(page, text.c_str());
}

// `text` shortened with "..." until it is at most `room` wide.
std::string fitted(HPDF_Page page, HPDF_Font font, float size, std::string text, float room)
{
    if (room <= 0 || widthOf(page, font, size, text) <= room)
        return text;
    while (!text.empty() && widthOf(page, font, size, text + "...") > room)
        text.pop_back();
    return text + "...";
}

} // namespace

void openDocument(Document& d, bool letter)
{
    d = Document{};
    d.pdf = HPDF_New(noteError, &d);
    if (!d.pdf) {
        d.failed = true;
        return;
    }
    HPDF_SetCompressionMode(d.pdf, HPDF_COMP_ALL);
    d.regular = HPDF_GetFont(d.pdf, "Helvetica", "WinAnsiEncoding");
    d.bold = HPDF_GetFont(d.pdf, "Helvetica-Bold", "WinAnsiEncoding");
    // A4 is 210 x 297 mm, Letter 8.5 x 11 inches.
    d.width = letter ? 612.0f : 595.276f;
    d.height = letter ? 792.0f : 841.89f;
}

void closeDocument(Document& d)
{
    if (d.pdf)
        HPDF_Free(d.pdf);
    d.pdf = nullptr;
    d.pages.clear();
}

float contentWidth(const Document& d)
{
    return d.width - 2 * margin;
}

void textLine(Document& d, const std::string& text, float size, bool bold, float indent)
{
    tableRow(d, {{indent, text}}, size, bold);
}

void tableRow(Document& d, const std::vector<Cell>& cells, float size, bool bold)
{
    if (d.failed)
        return;
    const float height = size * lineFactor;
    ensure(d, height);
    d.y -= height;
    HPDF_Page page = d.pages.back();
    HPDF_Font font = bold ? d.bold : d.regular;
    for (size_t i = 0; i < cells.size(); ++i) {
        const float right = i + 1 < cells.size() ? cells[i + 1].x - size / 2 : contentWidth(d);
        const std::string text = fitted(page, font, size, cells[i].text, right - cells[i].x);
        drawText(page, font, size, margin + cells[i].x, d.y + size * 0.25f, text);
    }
}

void space(Document& d, float points)
{
    if (!d.pages.empty() && d.y < d.height - margin)
        d.y -= points;
}

void keepTogether(Document& d, float points)
{
    ensure(d, points);
}

void picture(Document& d, const std::vector<unsigned char>& pixels, int pixelWidth, int pixelHeight, float width)
{
    if (d.failed || pixelWidth <= 0 || pixelHeight <= 0
        || pixels.size() != static_cast<size_t>(pixelWidth) * static_cast<size_t>(pixelHeight) * 3)
        return;
    const float height = width * static_cast<float>(pixelHeight) / static_cast<float>(pixelWidth);
    ensure(d, height);
    HPDF_Image image = HPDF_LoadRawImageFromMem(d.pdf, pixels.data(), static_cast<HPDF_UINT>(pixelWidth),
                                                static_cast<HPDF_UINT>(pixelHeight), HPDF_CS_DEVICE_RGB, 8);
    if (!image)
        return;
    d.y -= height;
    HPDF_Page_DrawImage(d.pages.back(), image, margin, d.y, width, height);
}

void signatureLine(Document& d, const std::string& label)
{
    constexpr float size = 10, labelWidth = 90, lineLength = 250;
    textLine(d, label, size, false);
    if (d.failed)
        return;
    HPDF_Page page = d.pages.back();
    HPDF_Page_SetLineWidth(page, 0.5f);
    HPDF_Page_MoveTo(page, margin + labelWidth, d.y + 2);
    HPDF_Page_LineTo(page, margin + labelWidth + lineLength, d.y + 2);
    HPDF_Page_Stroke(page);
}

void footers(Document& d, const std::string& note)
{
    const size_t count = d.pages.size();
    for (size_t i = 0; i < count && !d.failed; ++i) {
        HPDF_Page page = d.pages[i];
        const std::string number = "Page " + std::to_string(i + 1) + " of " + std::to_string(count);
        const float y = margin - footerSize;
        drawText(page, d.regular, footerSize, margin, y, note);
        const float width = widthOf(page, d.regular, footerSize, number);
        drawText(page, d.regular, footerSize, d.width - margin - width, y, number);
    }
}

bool finishDocument(Document& d, std::string& bytes)
{
    if (d.failed || !d.pdf || HPDF_SaveToStream(d.pdf) != HPDF_OK)
        return false;
    bytes.assign(HPDF_GetStreamSize(d.pdf), '\0');
    HPDF_UINT32 size = static_cast<HPDF_UINT32>(bytes.size());
    HPDF_ResetStream(d.pdf);
    if (HPDF_ReadFromStream(d.pdf, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size) != HPDF_OK
        && size != bytes.size())
        return false;
    bytes.resize(size);
    return !d.failed && size > 0;
}

} // namespace report
