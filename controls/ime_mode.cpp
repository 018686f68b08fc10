#include "controls/ime_mode.h"

#include <QEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QObject>
#include <QVariant>
#include <QWidget>

namespace tamboro {
namespace {

constexpr const char* kModeProperty = "tamboroImeMode";
const QString kFilterName = QStringLiteral("tamboroImeOnEntry");

void apply(QWidget* w, ImeMode mode) {
    if (mode == ImeMode::DontCare) return;
    const bool open = mode == ImeMode::Open;
    w->setAttribute(Qt::WA_InputMethodEnabled, open);
    Qt::InputMethodHints hints = w->inputMethodHints();
    if (open)
        hints &= ~(Qt::ImhPreferLatin | Qt::ImhLatinOnly);
    else
        hints |= Qt::ImhPreferLatin;
    w->setInputMethodHints(hints);
}

// Re-applies the mode on entry, so the input method state follows the control
// rather than whatever the previous control left.
class ImeOnEntry : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* obj, QEvent* e) override {
        if (e->type() == QEvent::FocusIn) {
            if (auto* w = qobject_cast<QWidget*>(obj)) {
                apply(w, imeMode(w));
                if (w->hasFocus()) QGuiApplication::inputMethod()->update(Qt::ImEnabled | Qt::ImHints);
            }
        }
        return false;
    }
};

}  // namespace

void setImeMode(QWidget* control, ImeMode mode) {
    control->setProperty(kModeProperty, static_cast<int>(mode));
    if (!control->findChild<QObject*>(kFilterName, Qt::FindDirectChildrenOnly)) {
        auto* filter = new ImeOnEntry(control);
        filter->setObjectName(kFilterName);
        control->installEventFilter(filter);
    }
    apply(control, mode);
}

ImeMode imeMode(const QWidget* control) {
    const QVariant v = control->property(kModeProperty);
    return v.isValid() ? static_cast<ImeMode>(v.toInt()) : ImeMode::DontCare;
}

}  // namespace tamboro
