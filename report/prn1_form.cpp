#include "report/prn1_form.h"

#include "controls/app_font.h"
#include "data/data_module.h"
#include "report/build_progress.h"
#include "report/preview_window.h"
#include "report/title_report.h"

namespace tamboro {

TFPrn1::TFPrn1(TDM1& dm, QWidget* parent) : QWidget(parent), dm_(dm), QPrn1_(std::make_unique<QPrn1>(dm)) {
    setObjectName(QStringLiteral("FPrn1"));
    setFont(appFont(12));
}

TFPrn1::~TFPrn1() = default;

bool TFPrn1::showPreview(const QString& genre1, const QString& genre2, QWidget* owner) {
    QPrn1_->QGenre1 = genre1;
    QPrn1_->QGenre2 = genre2;
    QPrn1_->QMakeDate = todayShortDate();
    if (!preview_) {
        preview_ = new TPrintPreview(this);
        // A print from the preview prints the list as it stands then.
        preview_->setRebuild([this](BuildProgress& progress) {
            return QPrn1_->build([&](int done, int total) { return progress.titles(done, total); });
        });
    }
    Table& titles = dm_.CDvd;
    const int before = titles.recNo();
    BuildProgress progress(owner);
    std::optional<report::ReportContent> built =
        QPrn1_->build([&](int done, int total) { return progress.titles(done, total); });
    if (!built) return false;
    const bool wasOpen = preview_->isVisible();
    if (!preview_->setContent(std::move(*built), [&](int done, int total) { return progress.pages(done, total); })) {
        // Cancelled while the pages were drawn: the walk is undone too.
        if (before >= 0 && before < titles.recordCount()) titles.moveTo(before);
        return false;
    }
    preview_->showNormal();
    // A fresh preview shows a whole page; an open one keeps the user's zoom.
    if (!wasOpen) preview_->zoomWholePage();
    preview_->raise();
    preview_->activateWindow();
    return true;
}

}  // namespace tamboro
