#include "controls/form_parts.h"

#include <QLabel>

namespace tamboro {

QFrame* panel(QWidget* parent, const char* name, const QRect& place, QFrame::Shadow shadow) {
    auto* p = named(new QFrame(parent), name, place);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(shadow);
    p->setLineWidth(1);
    return p;
}

QLabel* label(QWidget* parent, const QString& text, const QRect& place) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(place);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

QFrame* captionTile(QWidget* parent, const char* name, const QString& text, const QRect& place,
                    const QColor& colour) {
    QFrame* tile = panel(parent, name, place, QFrame::Sunken);
    if (colour.isValid()) {
        QPalette pal = tile->palette();
        pal.setColor(QPalette::Window, colour);
        tile->setPalette(pal);
        tile->setAutoFillBackground(true);
    }
    auto* caption = new QLabel(text, tile);
    caption->setGeometry(1, 1, place.width() - 2, place.height() - 2);
    caption->setAlignment(Qt::AlignCenter);
    return tile;
}

}  // namespace tamboro
