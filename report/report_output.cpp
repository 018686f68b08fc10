#include "report/report_output.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

#include "report/page_painter.h"

namespace tamboro::report {

namespace {

const QPageLayout kA4Portrait(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                              QPageLayout::Millimeter);

}  // namespace

void setUpReportPrinter(QPrinter& printer) {
    printer.setFullPage(true);
    printer.setPageLayout(kA4Portrait);
    printer.setCopyCount(1);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setPaperSource(QPrinter::Auto);
    printer.setDocName(QStringLiteral("DVDタイトル一覧"));
}

bool paintReport(QPagedPaintDevice& device, const ReportContent& content, int fromPage, int toPage, int copies,
                 const PageProgress& progress) {
    const int pages = content.pageCount();
    const int first = fromPage > 0 ? std::clamp(fromPage, 1, pages) : 1;
    const int last = toPage > 0 ? std::clamp(toPage, first, pages) : pages;
    const int total = (last - first + 1) * std::max(1, copies);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PagePainter out(painter);
    int done = 0;
    for (int copy = 0; copy < std::max(1, copies); ++copy) {
        for (int page = first; page <= last; ++page, ++done) {
            if (progress && !progress(done, total)) return false;
            if (done > 0 && !device.newPage()) return false;
            out.paintPage(content, page - 1);
        }
    }
    return painter.end();
}

bool printReport(QPrinter& printer, const ReportContent& content, const PageProgress& progress) {
    const bool range = printer.printRange() == QPrinter::PageRange;
    // A printer that cannot make copies itself gets each page that often.
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    if (paintReport(printer, content, range ? printer.fromPage() : 0, range ? printer.toPage() : 0, copies, progress))
        return true;
    printer.abort();  // nothing half-printed goes out
    return false;
}

QString writeReportPdf(const ReportContent& content, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QStringLiteral("%1 に書き込めません: %2").arg(path, file.errorString());
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(kA4Portrait);
        writer.setResolution(kPdfResolution);
        writer.setTitle(QStringLiteral("DVDタイトル一覧"));
        writer.setCreator(QStringLiteral("Tamboro"));
        if (!paintReport(writer, content))
            return QStringLiteral("%1 に書き込めません: PDF を作成できませんでした").arg(path);
    }
    // A half-written file must not pass for the report.
    if (file.error() != QFileDevice::NoError || !file.commit())
        return QStringLiteral("%1 に書き込めません: %2").arg(path, file.errorString());
    return {};
}

}  // namespace tamboro::report
