#pragma once
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>

#include "report/preview_window.h"
#include "report/report_content.h"

namespace tamboro {

class QPrn1;
class TDM1;

// The form that carries the title list report. Created hidden at start-up
// and never shown itself; the preview is a window of its own.
class TFPrn1 : public QWidget {
    Q_OBJECT
public:
    explicit TFPrn1(TDM1& dm, QWidget* parent = nullptr);
    ~TFPrn1() override;

    TDM1& dataModule() const { return dm_; }
    QPrn1& report() const { return *QPrn1_; }

    // The print command: the header texts (the genre criteria as shown and
    // today's date), the report built and shown in the preview, which comes
    // to the front if it was open already. A build that takes a while shows
    // its progress over owner and can be cancelled, which leaves the title
    // table and the preview as they were (false).
    bool showPreview(const QString& genre1, const QString& genre2, QWidget* owner = nullptr);

    // The preview window; null until the first print command.
    TPrintPreview* preview() const { return preview_; }

private:
    TDM1& dm_;
    std::unique_ptr<QPrn1> QPrn1_;
    QPointer<TPrintPreview> preview_;
};

}  // namespace tamboro
