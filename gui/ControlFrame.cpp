// SPDX-License-Identifier: MIT
#include "gui/ControlFrame.h"

#include "gui/DesignForm.h"
#include "gui/ParameterPanel.h"
#include "gui/ReversedScrollBar.h"
#include "gui/Spinner.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace yawmark {

using F = DesignForm;

ControlFrame::ControlFrame(QWidget* client) {
    DesignForm f(client);
    tips = f.frame(QStringLiteral("fmeTip"), F::rect(120, 6360, 3495, 975));
    control = f.frame(QStringLiteral("fmeControl"), F::rect(120, 0, 3495, 6375));
    buildControls();
    buildTips();
    setTabOrder();
}

void ControlFrame::buildControls() {
    panel = new ParameterPanel(control);
    panel->move(F::px(120), F::px(240));

    DesignForm f(control);
    auto bar = [this](const QString& name, Qt::Orientation o, QRect r, int smallChange,
                      const QString& caption) {
        auto* b = new ReversedScrollBar(o, 32767, -32767, control);
        b->setObjectName(name);
        b->setName(caption);
        b->setGeometry(r);
        b->setSmallChange(smallChange);
        b->setLargeChange(1);
        return b;
    };

    // The + and - marks by the bars, in their own font and as large as it needs.
    const auto mark = [](QLabel* l) {
        l->setFont(F::markFont());
        l->resize(l->size().expandedTo(l->sizeHint()));
    };

    f.label(F::arrayName("lblCaption", 7), F::rect(120, 4560, 435, 435),
            QStringLiteral("Scroll Axes"), F::Wrap | F::AutoSize);
    scrX = bar(F::arrayName("scrX", 0), Qt::Horizontal, F::rect(600, 4800, 495, 255), 10,
               QStringLiteral("Scroll Axes left and right"));
    scrY = bar(F::arrayName("scrY", 0), Qt::Vertical, F::rect(720, 4560, 255, 735), 1,
               QStringLiteral("Scroll Axes up and down"));

    f.label(F::arrayName("lblCaption", 26), F::rect(1320, 4560, 525, 390),
            QStringLiteral("Scale Interval"), F::Wrap | F::AutoSize);
    mark(f.label(F::arrayName("Label1", 3), F::rect(1920, 4560, 135, 240), QStringLiteral("+")));
    scrZoom[1] = bar(F::arrayName("scrZoom", 1), Qt::Vertical, F::rect(2040, 4680, 255, 495), 10,
                     QStringLiteral("Scale Interval"));
    mark(f.label(F::arrayName("Label2", 1), F::rect(1920, 5040, 90, 240), QStringLiteral("-")));

    f.label(F::arrayName("lblCaption", 8), F::rect(2520, 4560, 405, 195), QStringLiteral("Zoom"),
            F::AutoSize);
    mark(f.label(F::arrayName("Label1", 0), F::rect(3000, 4560, 135, 240), QStringLiteral("+")));
    scrZoom[0] = bar(F::arrayName("scrZoom", 0), Qt::Vertical, F::rect(3120, 4680, 255, 495), 10,
                     QStringLiteral("Zoom"));
    mark(f.label(F::arrayName("Label2", 0), F::rect(3000, 5040, 90, 240), QStringLiteral("-")));

    draw =
        f.button(QStringLiteral("cmdDraw"), F::rect(120, 5400, 855, 375), QStringLiteral("Draw"));
    draw->setToolTip(QStringLiteral("Calculate and Plot!"));
    draw->setDefault(true);
    snapshot = f.button(QStringLiteral("cmdSnap"), F::rect(1080, 5400, 2055, 375),
                        QStringLiteral("SnapShot") + QString(18, QLatin1Char(' ')));
    snapshot->setAccessibleName(QStringLiteral("SnapShot"));
    snapshot->setEnabled(false);
    // "Auto" lies in front of the right part of SnapShot and stays usable
    // while the button is disabled.
    autoSnapshot = f.checkBox(QStringLiteral("chkSnap"), F::rect(2280, 5490, 735, 195),
                              QStringLiteral("Auto"), false);
    autoSnapshot->raise();
    pause =
        f.button(QStringLiteral("cmdPause"), F::rect(240, 5880, 855, 375), QStringLiteral("Pause"));
    pause->setEnabled(false);
    stop =
        f.button(QStringLiteral("cmdStop"), F::rect(1320, 5880, 855, 375), QStringLiteral("Stop"));
    stop->setEnabled(false);
    clear = f.button(QStringLiteral("cmdClear"), F::rect(2400, 5880, 855, 375),
                     QStringLiteral("Clear"));
    // A focused button takes Enter itself, as Space.
    for (QPushButton* b :
         {draw, snapshot, pause, stop, clear, panel->cmdInertia(), panel->cmdNormal()})
        b->setAutoDefault(true);
}

void ControlFrame::buildTips() {
    DesignForm f(tips);
    f.label(QStringLiteral("lblEsc"), F::rect(120, 120, 2775, 255),
            QStringLiteral("Esc to Pause / Resume"));
    f.label(QStringLiteral("lblSpaceBar"), F::rect(120, 360, 2775, 255),
            QStringLiteral("Space Bar for highlighted button"));
    scaleTip = f.label(QStringLiteral("Label5"), F::rect(120, 600, 3255, 255),
            QStringLiteral("Axes are to-scale in meters (10 ft = 3.048 m)"));
}

void ControlFrame::setTabOrder() {
    // Buttons first, then the tab control's strip and its controls, with
    // "Auto" slipped in after the steering spinner. Each link moves its second
    // control right behind the first, so the chain is laid in one pass.
    QWidgetList chain{draw, snapshot, pause, stop, clear};
    for (QWidget* w : panel->tabChain()) {
        chain << w;
        if (w == panel->scrSelect(8)) chain << autoSnapshot;
    }
    for (qsizetype k = 1; k < chain.size(); ++k)
        QWidget::setTabOrder(chain[k - 1], chain[k]);
}

} // namespace yawmark
