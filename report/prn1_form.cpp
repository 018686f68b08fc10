#include "report/prn1_form.h"

#include <QProgressDialog>

#include "controls/app_font.h"
#include "report/preview_window.h"
#include "report/title_report.h"

namespace tamboro {

namespace {

// A build that takes longer than this shows its progress.
constexpr int kProgressAfterMs = 500;

}  // namespace

TFPrn1::TFPrn1(TDM1& dm, QWidget* parent) : QWidget(parent), dm_(dm), QPrn1_(std::make_unique<QPrn1>(dm)) {
    setObjectName(QStringLiteral("FPrn1"));
    setFont(appFont(12));
}

TFPrn1::~TFPrn1() = default;

std::optional<report::ReportContent> TFPrn1::build(QWidget* owner) {
    QProgressDialog progress(QStringLiteral("DVDタイトル一覧を作成しています…"), QStringLiteral("キャンセル"), 0, 1,
                             owner);
    progress.setWindowTitle(QStringLiteral("印刷"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(kProgressAfterMs);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    return QPrn1_->build([&](int done, int total) {
        progress.setMaximum(std::max(1, total));
        progress.setValue(done);
        return !progress.wasCanceled();
    });
}

bool TFPrn1::showPreview(const QString& genre1, const QString& genre2, QWidget* owner) {
    QPrn1_->QGenre1 = genre1;
    QPrn1_->QGenre2 = genre2;
    QPrn1_->QMakeDate = todayShortDate();
    std::optional<report::ReportContent> built = build(owner);
    if (!built) return false;
    if (!preview_) {
        preview_ = new TPrintPreview(this);
        // A print from the preview prints the list as it stands then.
        preview_->setRebuild([this] { return build(preview_); });
    }
    const bool wasOpen = preview_->isVisible();
    preview_->setContent(std::move(*built));
    preview_->showNormal();
    // A fresh preview shows a whole page; an open one keeps the user's zoom.
    if (!wasOpen) preview_->zoomWholePage();
    preview_->raise();
    preview_->activateWindow();
    return true;
}

}  // namespace tamboro
