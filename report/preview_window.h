#pragma once
#include <QPrinter>
#include <QWidget>
#include <functional>
#include <optional>

#include "report/report_content.h"
#include "report/report_output.h"

class QAction;
class QLabel;
class QPrintPreviewWidget;

namespace tamboro {

class BuildProgress;

// The report's print preview: a window of its own that does not block the
// main window. Pages one at a time, paging, zoom, printing at once with the
// kept printer settings, printer set-up and saving as PDF.
class TPrintPreview : public QWidget {
    Q_OBJECT
public:
    explicit TPrintPreview(QWidget* parent = nullptr);
    ~TPrintPreview() override;

    // Builds the report again, as it must be for each print, telling its
    // progress; nothing when the build was cancelled.
    using Rebuild = std::function<std::optional<report::ReportContent>(BuildProgress& progress)>;
    void setRebuild(Rebuild rebuild) { rebuild_ = std::move(rebuild); }

    // Shows these pages from the first. The pages are drawn before they
    // replace the ones shown: when progress stops the drawing, the pages
    // shown before stay (false).
    bool setContent(report::ReportContent content, const report::PageProgress& progress = {});
    const report::ReportContent& content() const { return content_; }

    int pageCount() const;
    int currentPage() const;  // 1-based
    QPrintPreviewWidget* view() const { return view_; }
    QPrinter& printer() { return printer_; }

    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void zoomWholePage();
    void zoomActualSize();
    void zoomPageWidth();

    // Prints at once with the kept settings, the report built anew. False
    // (and the user told) when there is nothing to print on.
    bool printNow();
    // The print dialog; its choices are kept only when it is accepted.
    void printerSetup();
    // Asks for a file name and writes the pages shown.
    void savePdfAs();
    // Writes the pages shown to path; false, the user told, on failure.
    bool savePdf(const QString& path);

    // True when printing can reach a printer: an installed one, or a file
    // chosen in the printer set-up.
    bool canPrint() const;

private:
    void buildToolBar();
    QPrintPreviewWidget* makeView();
    void paintPreview(QPrinter* printer);
    void updatePageLabel();

    QPrinter printer_{QPrinter::HighResolution};
    QPrintPreviewWidget* view_ = nullptr;
    QLabel* pageLabel_ = nullptr;
    report::ReportContent content_;
    // While new pages are drawn: their content and progress, and whether
    // the drawing stopped.
    const report::ReportContent* pending_ = nullptr;
    report::PageProgress progress_;
    bool stopped_ = false;
    Rebuild rebuild_;
    QString lastPdfFolder_;
};

}  // namespace tamboro
