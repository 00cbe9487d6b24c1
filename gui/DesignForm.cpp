// SPDX-License-Identifier: MIT
#include "gui/DesignForm.h"

#include "gui/ClassicFonts.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace yawmark {

QString DesignForm::arrayName(const char* name, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

QFont DesignForm::font() {
    QFont f;
    f.setFamilies({QStringLiteral("DejaVu Sans Condensed"),
                   QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow"),
                   QStringLiteral("DejaVu Sans")});
    f.setPixelSize(10);
    return f;
}

QFont DesignForm::markFont() {
    QFont f = font();
    f.setPixelSize(12);
    f.setBold(true);
    return f;
}

QLabel* DesignForm::label(const QString& name, QRect geometry, const QString& caption, int flags) {
    auto* l = new QLabel(caption, parent_);
    l->setObjectName(name);
    Qt::Alignment align = Qt::AlignTop;
    if (flags & Right)
        align |= Qt::AlignRight;
    else if (flags & Centre)
        align |= Qt::AlignHCenter;
    else
        align |= Qt::AlignLeft;
    l->setAlignment(align);
    l->setWordWrap((flags & Wrap) != 0);
    if ((flags & (Wrap | AutoSize)) == (Wrap | AutoSize)) {
        // As wide as its longest word needs.
        const QFontMetrics fm(l->font());
        for (const QString& word : caption.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            geometry.setWidth(std::max(geometry.width(), fm.horizontalAdvance(word)));
    }
    // Whatever the face, the caption is never clipped: the label grows from
    // its design rectangle to the text (wrapped lines grow down).
    placeLabel(l, geometry, false, QRect());
    return l;
}

QLineEdit* DesignForm::textBox(const QString& name, QRect geometry, const QString& text) {
    auto* t = new QLineEdit(text, parent_);
    t->setObjectName(name);
    t->setGeometry(geometry);
    return t;
}

QCheckBox* DesignForm::checkBox(const QString& name, QRect geometry, const QString& caption,
                                bool checked) {
    auto* c = new QCheckBox(caption, parent_);
    c->setObjectName(name);
    c->setChecked(checked);
    c->setGeometry(geometry);
    return c;
}

QPushButton* DesignForm::button(const QString& name, QRect geometry, const QString& caption) {
    auto* b = new QPushButton(caption, parent_);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setGeometry(geometry);
    return b;
}

QGroupBox* DesignForm::frame(const QString& name, QRect geometry) {
    auto* g = new QGroupBox(parent_);
    g->setObjectName(name);
    g->setAutoFillBackground(true);
    g->setGeometry(geometry);
    return g;
}

} // namespace yawmark
