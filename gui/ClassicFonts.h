// SPDX-License-Identifier: MIT
// The look the splash and the About box share: the classic fonts, with
// stand-ins that are installed here, and labels that size themselves to their
// text (the forms' labels, DesignForm, follow the same rule).
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

// Places a label at its design rectangle. With autoSize a one-line label
// takes exactly its text's size; without, it keeps its design size unless the
// text would be clipped. A word-wrapped label keeps its design width and grows
// down to the height its lines need. A right-aligned label keeps its right
// edge, so it grows to the left, a centred one its centre; any other keeps its
// left edge. The label is then moved back inside bounds (the container's area)
// if it grew out of it; a null bounds (QRect()) leaves it where it grew.
inline void placeLabel(QLabel* label, QRect design, bool autoSize, QRect bounds) {
    const bool wrap = label->wordWrap();
    const QSize need =
        wrap ? QSize(design.width(), label->heightForWidth(design.width())) : label->sizeHint();
    const QSize size = autoSize && !wrap ? need : design.size().expandedTo(need);
    QRect r(design.topLeft(), size);
    if (label->alignment() & Qt::AlignRight)
        r.moveRight(design.right());
    else if (label->alignment() & Qt::AlignHCenter)
        r.moveLeft(design.center().x() - (size.width() - 1) / 2);
    if (bounds.isValid()) {
        if (r.right() > bounds.right()) r.moveRight(bounds.right());
        if (r.left() < bounds.left()) r.moveLeft(bounds.left());
        if (r.bottom() > bounds.bottom()) r.moveBottom(bounds.bottom());
        if (r.top() < bounds.top()) r.moveTop(bounds.top());
    }
    label->setGeometry(r);
}

// The classic default font of dialogs: 8.25 pt sans-serif.
inline QFont dialogFont() {
    return sansFont(8.25, false);
}

} // namespace yawmark
