#include "report/preview_window.h"

#include <QAction>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include "controls/app_font.h"
#include "controls/message_boxes.h"
#include "report/build_progress.h"
#include "report/report_output.h"

namespace tamboro {

TPrintPreview::TPrintPreview(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("PrintPreview"));
    setWindowTitle(QStringLiteral("印刷プレビュー"));
    setFont(appFont(12));
    report::setUpReportPrinter(printer_);

    view_ = makeView();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildToolBar();
    layout->addWidget(findChild<QToolBar*>());
    layout->addWidget(view_, 1);
    resize(820, 940);
}

TPrintPreview::~TPrintPreview() = default;

QPrintPreviewWidget* TPrintPreview::makeView() {
    auto* view = new QPrintPreviewWidget(&printer_, this);
    view->setObjectName(QStringLiteral("PreviewView"));
    view->setViewMode(QPrintPreviewWidget::SinglePageView);
    view->setZoomMode(view_ ? view_->zoomMode() : QPrintPreviewWidget::FitInView);
    if (view_ && view_->zoomMode() == QPrintPreviewWidget::CustomZoom) view->setZoomFactor(view_->zoomFactor());
    connect(view, &QPrintPreviewWidget::paintRequested, this, &TPrintPreview::paintPreview);
    connect(view, &QPrintPreviewWidget::previewChanged, this, &TPrintPreview::updatePageLabel);
    return view;
}

void TPrintPreview::buildToolBar() {
    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("PreviewToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    auto add = [&](const char* name, const QString& text, QStyle::StandardPixmap icon, const QKeySequence& key,
                   std::function<void()> run) {
        QAction* a = bar->addAction(style()->standardIcon(icon), text);
        connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
        a->setObjectName(QString::fromLatin1(name));
        if (!key.isEmpty()) a->setShortcut(key);
    };
    add("ActFirst", QStringLiteral("先頭"), QStyle::SP_MediaSkipBackward, QKeySequence(Qt::Key_Home),
        [this] { firstPage(); });
    add("ActPrior", QStringLiteral("前"), QStyle::SP_MediaSeekBackward, QKeySequence(Qt::Key_PageUp),
        [this] { previousPage(); });
    add("ActNext", QStringLiteral("次"), QStyle::SP_MediaSeekForward, QKeySequence(Qt::Key_PageDown),
        [this] { nextPage(); });
    add("ActLast", QStringLiteral("最後"), QStyle::SP_MediaSkipForward, QKeySequence(Qt::Key_End),
        [this] { lastPage(); });
    pageLabel_ = new QLabel(this);
    pageLabel_->setObjectName(QStringLiteral("PageLabel"));
    pageLabel_->setContentsMargins(8, 0, 8, 0);
    bar->addWidget(pageLabel_);
    bar->addSeparator();
    add("ActWholePage", QStringLiteral("ページ全体"), QStyle::SP_TitleBarMaxButton, {}, [this] { zoomWholePage(); });
    add("ActActualSize", QStringLiteral("100%"), QStyle::SP_TitleBarNormalButton, {}, [this] { zoomActualSize(); });
    add("ActPageWidth", QStringLiteral("ページ幅"), QStyle::SP_ToolBarHorizontalExtensionButton, {},
        [this] { zoomPageWidth(); });
    bar->addSeparator();
    add("ActPrint", QStringLiteral("印刷"), QStyle::SP_DialogApplyButton, QKeySequence::Print, [this] { printNow(); });
    add("ActSetup", QStringLiteral("プリンタの設定"), QStyle::SP_FileDialogDetailedView, {}, [this] { printerSetup(); });
    add("ActPdf", QStringLiteral("PDF保存"), QStyle::SP_DialogSaveButton, QKeySequence::Save, [this] { savePdfAs(); });
    bar->addSeparator();
    add("ActClose", QStringLiteral("閉じる"), QStyle::SP_DialogCloseButton, QKeySequence(Qt::Key_Escape),
        [this] { close(); });
}

bool TPrintPreview::setContent(report::ReportContent content, const report::PageProgress& progress) {
    // Pages nobody sees need not be kept while the new ones are drawn.
    if (!isVisible()) content_ = {};
    QPrintPreviewWidget* fresh = makeView();
    pending_ = &content;
    progress_ = progress;
    stopped_ = false;
    fresh->updatePreview();
    pending_ = nullptr;
    progress_ = {};
    if (stopped_) {
        delete fresh;
        if (!isVisible()) view_->updatePreview();
        return false;
    }
    content_ = std::move(content);
    delete layout()->replaceWidget(view_, fresh);  // the old view's layout item is ours
    delete view_;
    view_ = fresh;
    view_->show();
    view_->setCurrentPage(1);
    updatePageLabel();
    return true;
}

void TPrintPreview::paintPreview(QPrinter* printer) {
    if (!report::paintReport(*printer, pending_ ? *pending_ : content_, 0, 0, 1, progress_)) stopped_ = true;
}

int TPrintPreview::pageCount() const { return view_->pageCount(); }
int TPrintPreview::currentPage() const { return view_->currentPage(); }

void TPrintPreview::updatePageLabel() {
    pageLabel_->setText(QStringLiteral("%1 / %2 ページ").arg(currentPage()).arg(pageCount()));
}

void TPrintPreview::firstPage() {
    view_->setCurrentPage(1);
    updatePageLabel();
}

void TPrintPreview::previousPage() {
    view_->setCurrentPage(std::max(1, currentPage() - 1));
    updatePageLabel();
}

void TPrintPreview::nextPage() {
    view_->setCurrentPage(std::min(pageCount(), currentPage() + 1));
    updatePageLabel();
}

void TPrintPreview::lastPage() {
    view_->setCurrentPage(pageCount());
    updatePageLabel();
}

void TPrintPreview::zoomWholePage() { view_->fitInView(); }
void TPrintPreview::zoomPageWidth() { view_->fitToWidth(); }
// The preview widget scales a zoom factor of 1 to the paper's real size.
void TPrintPreview::zoomActualSize() { view_->setZoomFactor(1.0); }

bool TPrintPreview::canPrint() const {
    if (printer_.outputFormat() == QPrinter::PdfFormat) return !printer_.outputFileName().isEmpty();
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

bool TPrintPreview::printNow() {
    if (!canPrint()) {
        ShowInformation(QStringLiteral("プリンタがインストールされていないため印刷できません。"
                                       "「PDF保存」でファイルに保存できます。"));
        return false;
    }
    BuildProgress progress(this);
    std::optional<report::ReportContent> built = rebuild_ ? rebuild_(progress) : std::optional(content_);
    if (!built) return false;
    const bool printed =
        report::printReport(printer_, *built, [&](int done, int total) { return progress.pages(done, total); });
    if (printed || progress.cancelled()) return printed;
    ShowDefaultError(QStringLiteral("印刷できませんでした: %1").arg(printer_.printerName()));
    return false;
}

void TPrintPreview::printerSetup() {
    QPrintDialog dialog(&printer_, this);
    dialog.setWindowTitle(QStringLiteral("プリンタの設定"));
    dialog.setMinMax(1, std::max(1, pageCount()));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies);
    // The dialog writes its choices into the printer only when accepted.
    if (dialog.exec() == QDialog::Accepted) view_->updatePreview();
}

void TPrintPreview::savePdfAs() {
    if (lastPdfFolder_.isEmpty()) lastPdfFolder_ = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("PDF保存"),
                                                lastPdfFolder_ + QStringLiteral("/DVDタイトル一覧.pdf"),
                                                QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".pdf");
    lastPdfFolder_ = QFileInfo(path).absolutePath();
    savePdf(path);
}

bool TPrintPreview::savePdf(const QString& path) {
    const QString error = report::writeReportPdf(content_, path);
    if (error.isEmpty()) return true;
    ShowDefaultError(error);
    return false;
}

}  // namespace tamboro
