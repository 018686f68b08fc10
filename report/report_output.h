#pragma once
#include <QString>
#include <functional>

#include "report/report_content.h"

class QPagedPaintDevice;
class QPrinter;

namespace tamboro::report {

// Sets a printer up for the report: A4 portrait, the paper's corner as the
// origin, one copy, all pages, no duplex, automatic paper bin.
void setUpReportPrinter(QPrinter& printer);

// Told (pages painted, pages in all) before each page; false stops.
using PageProgress = std::function<bool(int done, int total)>;

// Paints pages fromPage..toPage (1-based, inclusive; 0 for "all") on a
// device set up for A4 with its origin at the paper's corner, copies times.
// False when the device could not be painted on or progress said stop.
bool paintReport(QPagedPaintDevice& device, const ReportContent& content, int fromPage = 0, int toPage = 0,
                 int copies = 1, const PageProgress& progress = {});

// Prints on the printer with its own settings (page range and copies).
bool printReport(QPrinter& printer, const ReportContent& content, const PageProgress& progress = {});

// Device pixels per inch of the PDF files written: a thin line is one of them.
inline constexpr int kPdfResolution = 300;

// Writes the report as a PDF file with its font embedded. The file appears
// whole or not at all. Returns an empty text on success, otherwise what
// went wrong (for the user).
QString writeReportPdf(const ReportContent& content, const QString& path);

}  // namespace tamboro::report
