// document.h: a flowing document of text lines, table rows and one picture on
// PDF pages, over libharu; the report (report.cpp) says what goes in it.
//
// Text is Windows-1252 in the standard Helvetica with WinAnsi encoding, which
// is the same set, so it stays extractable. Content flows from the top of a page
// down; a line that does not fit starts a new page. Units are PDF points
// (1/72 inch), the cursor `y` counts up from the page's bottom edge. Failures of
// libharu are gathered and reported once, by finish.
#pragma once

#include <hpdf.h>

#include <string>
#include <vector>

namespace report {

// The height of a line of text per point of its font size.
constexpr float lineFactor = 1.35f;

struct Document {
    HPDF_Doc pdf = nullptr;
    HPDF_Font regular = nullptr, bold = nullptr;
    std::vector<HPDF_Page> pages;
    float width = 0, height = 0;   // of every page
    float y = 0;                   // top of the next line
    bool failed = false;           // libharu reported an error
};

// A column of a table row: its left edge from the left margin, and its text.
struct Cell {
    float x;
    std::string text;
};

// Starts a document of A4 pages, or Letter ones when `letter`.
void openDocument(Document& d, bool letter);
// Frees the document; safe after any step, and once finished.
void closeDocument(Document& d);

// Width between the margins.
float contentWidth(const Document& d);
// One line of text at `indent` from the left margin.
void textLine(Document& d, const std::string& text, float size, bool bold, float indent = 0);
// One table row of `size`-point text; each cell cut to fit before the next.
void tableRow(Document& d, const std::vector<Cell>& cells, float size, bool bold);
// Empty space of `points`, unless at the top of a page.
void space(Document& d, float points);
// Starts a new page unless `points` still fit on this one.
void keepTogether(Document& d, float points);
// An RGB picture of `pixels` (3 bytes each, rows top first) `width` points wide.
void picture(Document& d, const std::vector<unsigned char>& pixels, int pixelWidth, int pixelHeight, float width);
// A label and a line to write on by hand after it.
void signatureLine(Document& d, const std::string& label);
// "Page X of Y" and `note` at the foot of every page made so far.
void footers(Document& d, const std::string& note);
// The finished document's bytes; false when libharu failed at any step.
bool finishDocument(Document& d, std::string& bytes);

} // namespace report
