#include "report/prn1_form.h"

#include "controls/app_font.h"

namespace tamboro {

TFPrn1::TFPrn1(TDM1& dm, QWidget* parent) : QWidget(parent), dm_(dm) {
    setObjectName(QStringLiteral("FPrn1"));
    setFont(appFont(12));
}

}  // namespace tamboro
