#include "controls/error_sink.h"

#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <utility>

namespace tamboro {
namespace {
ErrorSink& sink() {
    static ErrorSink s;
    return s;
}
}  // namespace

ErrorSink setErrorSink(ErrorSink s) { return std::exchange(sink(), std::move(s)); }

void reportError(const QString& message) {
    if (sink())
        sink()(message);
    else
        QMessageBox::critical(nullptr, QStringLiteral("Tamboro"), message);
}

void reportErrorLater(QObject* context, const QString& message) {
    QTimer::singleShot(0, context, [message] { reportError(message); });
}

}  // namespace tamboro
