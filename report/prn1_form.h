#pragma once
#include <QWidget>

namespace tamboro {

class TDM1;

// The form that carries the title list report. Created hidden at start-up
// and never shown itself.
class TFPrn1 : public QWidget {
    Q_OBJECT
public:
    explicit TFPrn1(TDM1& dm, QWidget* parent = nullptr);

    TDM1& dataModule() const { return dm_; }

private:
    TDM1& dm_;
};

}  // namespace tamboro
