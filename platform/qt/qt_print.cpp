// One-page print jobs on the toolkit's printer, which can also be a PDF file.
#include "platform/print.h"
#include "platform/qt/qt_internal.h"
#include "platform/seam.h"
#include "platform/testing.h"

#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include <memory>

namespace platform {

namespace {

struct PrintState {
    std::unique_ptr<QPrinter> printer;
    std::unique_ptr<QPainter> painter;
};

PrintState state;

QPrinter& printer()
{
    if (!state.printer)
        state.printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *state.printer;
}

} // namespace

bool printDialog()
{
    if (testing::active()) {
        std::optional<std::string> pdf = seam::scriptedPrint();
        if (!pdf)
            return false;
        printer().setOutputFormat(QPrinter::PdfFormat);
        printer().setOutputFileName(qt::fromPath(*pdf));
        return true;
    }
    QPrintDialog dialog(&printer(), qt::dialogParent());
    return dialog.exec() == QDialog::Accepted;
}

bool startPrintJob(const std::string& jobName)
{
    printer().setDocName(qt::fromCp1252(jobName));
    state.painter = std::make_unique<QPainter>();
    if (!state.painter->begin(&printer())) {
        state.painter.reset();
        return false;
    }
    return true;
}

Size printPageSize()
{
    QRect page = printer().pageLayout().paintRectPixels(printer().resolution());
    return {page.width(), page.height()};
}

void drawPrintImage(int image, int x, int y, int width, int height)
{
    QImage* picture = qt::imageOf(image);
    if (state.painter && picture)
        state.painter->drawImage(QRect(x, y, width, height), *picture);
}

void endPrintJob()
{
    if (state.painter) {
        state.painter->end();
        state.painter.reset();
    }
}

} // namespace platform
