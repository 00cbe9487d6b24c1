// Small helpers for the splash and the About box: the classic fonts with
// stand-ins that exist here, and labels that size themselves to their text.
// Their design geometry in twips goes through DesignForm like every form's.
#pragma once

#include "panel/DesignForm.h"

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QStringList>

namespace yawmark {

// Times New Roman, or the nearest serif face installed (same metrics first).
inline QFont serifFont(double points, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Nimbus Roman"),
                   QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")});
    f.setStyleHint(QFont::Serif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Arial, or the nearest sans-serif face installed (same metrics first).
inline QFont sansFont(double points, bool bold) {
    QFont f;
    f.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                   QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Places a one-line label at its design rectangle. With autoSize the label
// takes exactly its text's size; without, it keeps its design size unless the
// text would be clipped. A right-aligned label keeps its right edge, so it
// grows to the left; any other keeps its left edge. Either is then moved back
// inside bounds (the container's area) if it grew out of it.
inline void placeLabel(QLabel* label, QRect design, bool autoSize, QRect bounds) {
    const QSize hint = label->sizeHint();
    QSize size = autoSize ? hint : design.size().expandedTo(hint);
    QRect r(design.topLeft(), size);
    if (label->alignment() & Qt::AlignRight) r.moveRight(design.right());
    if (r.right() > bounds.right()) r.moveRight(bounds.right());
    if (r.left() < bounds.left()) r.moveLeft(bounds.left());
    label->setGeometry(r);
}

// The classic default font of dialogs: 8.25 pt sans-serif.
inline QFont dialogFont() {
    return sansFont(8.25, false);
}

} // namespace yawmark
