#pragma once
#include <QColor>
#include <QFrame>
#include <QRect>
#include <QString>

class QLabel;

namespace tamboro {

// The pieces the fixed-layout windows are built from, placed in pixels.

// Height of a one-line control or label.
inline constexpr int kRowHeight = 21;

// Names a control and places it on its parent.
template <class T>
T* named(T* w, const char* name, const QRect& place) {
    w->setObjectName(QString::fromLatin1(name));
    w->setGeometry(place);
    return w;
}

// A panel with a one-pixel bevel, raised unless said otherwise.
QFrame* panel(QWidget* parent, const char* name, const QRect& place, QFrame::Shadow shadow = QFrame::Raised);

// A label, left-aligned and centred on its row.
QLabel* label(QWidget* parent, const QString& text, const QRect& place);
inline QLabel* label(QWidget* parent, const QString& text, int x, int y, int width) {
    return label(parent, text, QRect(x, y, width, kRowHeight));
}

// A small sunken tile with its text centred, heading a group; filled with
// colour when one is given.
QFrame* captionTile(QWidget* parent, const char* name, const QString& text, const QRect& place,
                    const QColor& colour = QColor());

}  // namespace tamboro
