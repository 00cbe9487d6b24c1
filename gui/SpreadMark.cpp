// SPDX-License-Identifier: MIT
#include "gui/SpreadMark.h"

#include <QLineEdit>
#include <QMenu>
#include <QPainter>

namespace yawmark {

namespace {

class SpreadMark : public QWidget {
public:
    static constexpr int kSide = 7;
    explicit SpreadMark(QLineEdit* box) : QWidget(box) {
        setFixedSize(kSide, kSide);
        move(box->width() - kSide, 0);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xF0, 0x90, 0x10)); // the orange of the plot's cloud
        p.drawPolygon(QPolygon({QPoint(0, 0), QPoint(kSide, 0), QPoint(kSide, kSide)}));
    }
};

} // namespace

QWidget* addSpreadMark(QLineEdit* box) {
    return new SpreadMark(box);
}

void addSpreadMenu(QLineEdit* box, std::function<bool()> hasSpread, std::function<void()> ask,
                   std::function<void()> clear) {
    box->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(box, &QWidget::customContextMenuRequested, box,
                     [box, hasSpread, ask, clear](QPoint at) {
                         QMenu* menu = box->createStandardContextMenu();
                         menu->setAttribute(Qt::WA_DeleteOnClose);
                         menu->addSeparator();
                         QAction* set = menu->addAction(QStringLiteral("Spread..."));
                         set->setObjectName(QStringLiteral("mnuSpread"));
                         QObject::connect(set, &QAction::triggered, box, ask);
                         QAction* cleared = menu->addAction(QStringLiteral("Clear Spread"));
                         cleared->setObjectName(QStringLiteral("mnuClearSpread"));
                         cleared->setEnabled(hasSpread());
                         QObject::connect(cleared, &QAction::triggered, box, clear);
                         menu->popup(box->mapToGlobal(at));
                     });
}

} // namespace yawmark
