// The parameter panel as the user first sees it: every control present under
// its name, captions and tooltips as written, design positions, the tabs
// hiding what they do not show, and spinners deaf to the mouse wheel.
#include "model/BoxTable.h"
#include "gui/DesignForm.h"
#include "gui/ParameterPanel.h"
#include "gui/Spinner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTest>
#include <QWheelEvent>

using namespace yawmark;

namespace {
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}
} // namespace

class ParameterPanelTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void everyBoxHasItsSpinnerAndCaption();
    void designGeometryMeasuredFromTabCorner();
    void otherControlsStartAsDesigned();
    void captionsFitTheirBoxes();
    void spinnersIgnoreTheMouseWheel();

private:
    QWidget* window_ = nullptr;
    ParameterPanel* panel_ = nullptr;
};

void ParameterPanelTest::init() {
    window_ = new QWidget;
    window_->resize(300, 340);
    panel_ = new ParameterPanel(window_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void ParameterPanelTest::cleanup() {
    delete window_;
    window_ = nullptr;
}

void ParameterPanelTest::everyBoxHasItsSpinnerAndCaption() {
    QCOMPARE(panel_->objectName(), QStringLiteral("SSTab"));
    QCOMPARE(panel_->count(), 3);
    QCOMPARE(panel_->tabText(0), QStringLiteral("Vehicle"));
    QCOMPARE(panel_->tabText(1), QStringLiteral("Initial Conditions"));
    QCOMPARE(panel_->tabText(2), QStringLiteral("Graph"));
    for (int i = 0; i < ParameterPanel::kBoxCount; ++i) {
        auto* box = panel_->findChild<QLineEdit*>(DesignForm::arrayName("txtInput", i));
        auto* bar = panel_->findChild<Spinner*>(DesignForm::arrayName("scrSelect", i));
        QVERIFY2(box && bar, qPrintable(QString::number(i)));
        QCOMPARE(bar->minimum(), 32767);
        QCOMPARE(bar->maximum(), -32768);
        // Box, spinner and caption of a row stay on one tab page, shown with it.
        QCOMPARE(box->parentWidget(), bar->parentWidget());
        QCOMPARE(box->parentWidget(), panel_->boxCaption(i)->parentWidget());
        panel_->setCurrentIndex(ParameterPanel::tabOfBox(i));
        QVERIFY(box->isVisible() && bar->isVisible());
        // Each row shows the caption and tooltip of its own box.
        QCOMPARE(panel_->boxCaption(i)->text(), qs(boxCaption(i)));
        QCOMPARE(box->toolTip(), qs(boxTooltip(i)));
        QCOMPARE(panel_->boxCaption(i)->toolTip(), box->toolTip());
    }
    for (const char* name : {"lblVehicle", "comVehicle", "Frame2", "chkInertia", "cmdInertia",
                             "Frame1", "chkNormal", "cmdNormal", "chkRealTime", "Label1(2)",
                             "Shape1(1)", "Line1", "Label4", "Label3", "lblDesc(18)"})
        QVERIFY2(panel_->findChild<QWidget*>(QLatin1String(name)), name);

    // Two rows as written, blanks and quotes included; the labels' own
    // indices differ from the boxes'.
    QCOMPARE(panel_->lblCaption(18), panel_->boxCaption(2));
    QCOMPARE(panel_->lblCaption(18)->text(), QStringLiteral("Vehicle Mass (kg)"));
    QCOMPARE(panel_->findChild<QLabel*>(QStringLiteral("Label3")), panel_->boxCaption(14));
    QCOMPARE(panel_->txtInput(14)->toolTip(),
             QStringLiteral("In milliseconds, approximate only.  Select 1000 for roughly 1 "
                            "snapshot per second in real world.  Applicable only if \"Auto\" is "
                            "checked."));
}

void ParameterPanelTest::designGeometryMeasuredFromTabCorner() {
    // Twips / 15, in pixels from the tab control's corner; rows inside a frame
    // add the frame's corner, lblCaption(21) has its own top.
    const struct {
        const char* name;
        int tab;
        QRect expected;
    } rows[] = {{"comVehicle", 0, {96, 32, 105, 21}},
                {"txtInput(5)", 0, {8 + 136, 184 + 48, 41, 19}},
                {"lblCaption(21)", 1, {8, 104, 129, 26}},
                {"scrSelect(12)", 1, {8 + 176, 168 + 80, 17, 17}},
                {"chkWheel(3)", 2, {176, 256, 17, 17}}};
    for (const auto& r : rows) {
        panel_->setCurrentIndex(r.tab);
        auto* w = panel_->findChild<QWidget*>(QLatin1String(r.name));
        QVERIFY2(w && w->isVisible(), r.name);
        QCOMPARE(QRect(w->mapTo(panel_, QPoint(0, 0)), w->size()), r.expected);
    }
}

void ParameterPanelTest::otherControlsStartAsDesigned() {
    QComboBox* com = panel_->comVehicle();
    QVERIFY(com->isEditable());
    QCOMPARE(com->count(), 3);
    QCOMPARE(com->itemText(0), QStringLiteral("Custom"));
    QCOMPARE(com->itemText(1), QStringLiteral("McLaren F1"));
    QCOMPARE(com->itemText(2), QStringLiteral("Imaginery Car"));
    QCOMPARE(com->toolTip(), QStringLiteral("Nope, you cannot save your own car, sorry."));

    for (QCheckBox* c : {panel_->chkInertia(), panel_->chkNormal()})
        QCOMPARE(c->text(), QStringLiteral("Auto Calculate"));
    for (QPushButton* b : {panel_->cmdInertia(), panel_->cmdNormal()})
        QCOMPARE(b->text(), QStringLiteral("Calculate"));
    QCOMPARE(panel_->cmdNormal()->toolTip(),
             QStringLiteral("Calculate dynamics created by Normal Driving with no skidding, "
                            "sliding or drifting.  Simulates initial condition before handbrake "
                            "is applied."));
    QCOMPARE(panel_->chkRealTime()->text(), QStringLiteral("Real Time (Not Recommended)"));
    QCOMPARE(panel_->chkRealTime()->checkState(), Qt::Unchecked);
    for (int i = 0; i < ParameterPanel::kWheelCount; ++i) {
        QVERIFY(panel_->chkWheel(i)->text().isEmpty());
        QCOMPARE(panel_->chkWheel(i)->toolTip(),
                 QStringLiteral("Connect plotted pixels.  Useful at low resolution (high calc. "
                                "interval)."));
    }
    QCOMPARE(panel_->findChild<QLabel*>(QStringLiteral("Label1(2)"))->text(),
             QStringLiteral("Connect Plot Pixels"));
}

void ParameterPanelTest::captionsFitTheirBoxes() {
    // Every caption is readable in full at its design size: a one-line
    // caption fits its width, a wrapped one fits its height.
    for (int tab = 0; tab < 3; ++tab) {
        panel_->setCurrentIndex(tab);
        for (QLabel* l : panel_->findChildren<QLabel*>()) {
            if (!l->isVisible() || l->text().isEmpty()) continue;
            const QFontMetrics fm(l->font());
            const bool fits = l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                                            : fm.horizontalAdvance(l->text()) <= l->width() &&
                                                  fm.height() <= l->height() + 1;
            QVERIFY2(fits, qPrintable(l->text()));
        }
        for (QCheckBox* c : panel_->findChildren<QCheckBox*>()) {
            if (!c->isVisible() || c->text().isEmpty()) continue;
            const int room = c->width() - c->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
                             c->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            QVERIFY2(QFontMetrics(c->font()).horizontalAdvance(c->text()) <= room,
                     qPrintable(c->text()));
        }
    }
}

void ParameterPanelTest::spinnersIgnoreTheMouseWheel() {
    // Scrolling past the panel leaves the boxes alone (the arrows' steps show
    // in the texts they give).
    Spinner* s = panel_->scrSelect(0);
    QWheelEvent wheel(QPointF(8, 8), s->bar()->mapToGlobal(QPointF(8, 8)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(s->bar(), &wheel);
    QCOMPARE(s->value(), 0);
}

QTEST_MAIN(ParameterPanelTest)
#include "tst_parameterpanel.moc"
