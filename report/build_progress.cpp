#include "report/build_progress.h"

#include <algorithm>

namespace tamboro {

namespace {

constexpr int kShowAfterMs = 500;

}  // namespace

BuildProgress::BuildProgress(QWidget* owner)
    : dialog_(QStringLiteral("DVDタイトル一覧を作成しています…"), QStringLiteral("キャンセル"), 0, 1, owner) {
    dialog_.setObjectName(QStringLiteral("BuildProgress"));
    dialog_.setWindowTitle(QStringLiteral("印刷"));
    dialog_.setWindowModality(Qt::ApplicationModal);
    dialog_.setMinimumDuration(kShowAfterMs);
    dialog_.setAutoClose(false);
    dialog_.setAutoReset(false);
}

bool BuildProgress::titles(int done, int total) {
    return step(QStringLiteral("DVDタイトル一覧を作成しています… (%1 / %2 件)").arg(done).arg(total), done, total);
}

bool BuildProgress::pages(int done, int total) {
    return step(QStringLiteral("ページを作成しています… (%1 / %2 ページ)").arg(done).arg(total), done, total);
}

bool BuildProgress::step(const QString& label, int done, int total) {
    if (dialog_.wasCanceled()) return false;
    dialog_.setMaximum(std::max(1, total));
    // A modal progress dialog handles the pending events here, the cancel
    // button's click among them.
    if (dialog_.isVisible()) dialog_.setLabelText(label);
    dialog_.setValue(std::min(done, std::max(1, total)));
    return !dialog_.wasCanceled();
}

}  // namespace tamboro
