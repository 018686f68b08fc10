#pragma once
#include <QProgressDialog>

class QWidget;

namespace tamboro {

// The progress of a long report build: the walk over the titles, then the
// pages. Shows itself only when the work takes more than about half a
// second, and blocks the program's windows meanwhile so that nothing
// starts a second build. Its cancel button stops the work.
class BuildProgress {
public:
    explicit BuildProgress(QWidget* owner);
    BuildProgress(const BuildProgress&) = delete;
    BuildProgress& operator=(const BuildProgress&) = delete;

    // Each returns false once the user has cancelled.
    bool titles(int done, int total);
    bool pages(int done, int total);
    bool cancelled() const { return dialog_.wasCanceled(); }
    const QProgressDialog& dialog() const { return dialog_; }

private:
    bool step(const QString& label, int done, int total);
    QProgressDialog dialog_;
};

}  // namespace tamboro
