#pragma once
#include <QString>
#include <functional>

class QObject;

namespace tamboro {

// Where controls hand an error that happened inside their own event handling
// (a value the table refused when a control was left, say), since an
// exception must not unwind through Qt's event delivery. The application
// points it at its default error box; until then a plain critical box shows.
using ErrorSink = std::function<void(const QString& message)>;

// Replaces the sink (an empty function restores the plain box); returns the
// previous one.
ErrorSink setErrorSink(ErrorSink sink);

void reportError(const QString& message);

// Reports once control returns to the event loop, so that no modal box runs
// in the middle of a focus change. Dropped if context is gone by then.
void reportErrorLater(QObject* context, const QString& message);

}  // namespace tamboro
