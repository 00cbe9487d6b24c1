// SPDX-License-Identifier: MIT
// The look the splash and the About box share: the classic fonts, with
// stand-ins that are installed here, and labels that size themselves to their text.
#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>
#include <QStringList>

namespace yawmark {

// A classic face, or the nearest installed stand-in (same metrics first).
inline QFont classicFont(const QStringList& families, QFont::StyleHint hint, double points,
                         bool bold) {
    QFont f;
    f.setFamilies(families);
    f.setStyleHint(hint);
    f.setPointSizeF(points);
    f.setBold(bold);
    return f;
}

// Times New Roman, or the nearest serif face installed.
inline QFont serifFont(double points, bool bold) {
    return classicFont({QStringLiteral("Times New Roman"), QStringLiteral("Nimbus Roman"),
                        QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")},
                       QFont::Serif, points, bold);
}

// Arial, or the nearest sans-serif face installed.
inline QFont sansFont(double points, bool bold) {
    return classicFont({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                        QStringLiteral("Nimbus Sans"), QStringLiteral("DejaVu Sans")},
                       QFont::SansSerif, points, bold);
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
