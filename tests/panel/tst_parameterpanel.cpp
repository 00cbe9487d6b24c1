// The parameter panel as the user first sees it: every control present under
// its name, captions and tooltips as written, design positions, the tabs
// hiding what they do not show, and the spinners' arrows.
#include "panel/BoxTable.h"
#include "panel/DesignForm.h"
#include "panel/ParameterPanel.h"
#include "panel/Spinner.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
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
    void captionsAndTooltips_data();
    void captionsAndTooltips();
    void designGeometryMeasuredFromTabCorner_data();
    void designGeometryMeasuredFromTabCorner();
    void otherControlsStartAsDesigned();
    void captionsFitTheirBoxes();
    void spinnerArrowsStepAndTheWheelDoesNot();
    void spinnerReportsCodeChangesAndCanBeResetInsideItsHandler();

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
        QCOMPARE(panel_->txtInput(i), box);
        QCOMPARE(panel_->scrSelect(i), bar);
        // Until the start-up values are written a box shows its own index.
        QCOMPARE(box->text(), QString::number(i));
        QCOMPARE(bar->value(), 0);
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
    }
    for (const char* name : {"lblVehicle", "comVehicle", "Frame2", "chkInertia", "cmdInertia",
                             "Frame1", "chkNormal", "cmdNormal", "chkRealTime", "Label1(2)",
                             "Shape1(1)", "Line1", "Label4", "Label3", "lblDesc(18)"})
        QVERIFY2(panel_->findChild<QWidget*>(QLatin1String(name)), name);
}

void ParameterPanelTest::captionsAndTooltips_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    auto row = [](int box, const char* label, const char* caption, const char* tip) {
        QTest::newRow(label) << box << QString::fromLatin1(label) << QString::fromLatin1(caption)
                             << QString::fromLatin1(tip);
    };
    // A few rows as written, blanks and quotes included; the labels' own
    // indices differ from the boxes'.
    row(2, "lblCaption(18)", "Vehicle Mass (kg)",
        "1 ton = 907.18 kg on Earth.  Must be non-zero.  If opposite in sign to Moment of "
        "Inertia, produces negative Moment of Inertia.");
    row(14, "Label3", "AutoSnapshot Interval (ms)",
        "In milliseconds, approximate only.  Select 1000 for roughly 1 snapshot per second in "
        "real world.  Applicable only if \"Auto\" is checked.");
    row(17, "lblCaption(16)", "Starting Position - Y", "Starting position on the x-y plane ");
}

void ParameterPanelTest::captionsAndTooltips() {
    QFETCH(int, box);
    QFETCH(QString, label);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    auto* l = panel_->findChild<QLabel*>(label);
    QVERIFY(l);
    QCOMPARE(panel_->boxCaption(box), l);
    QCOMPARE(l->text(), caption);
    QCOMPARE(l->toolTip(), tooltip);
    QCOMPARE(panel_->txtInput(box)->toolTip(), tooltip);
}

void ParameterPanelTest::designGeometryMeasuredFromTabCorner_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QRect>("expected"); // pixels from the tab control's corner
    // Twips / 15. Rows inside a frame add the frame's corner.
    QTest::newRow("comVehicle") << "comVehicle" << 0 << QRect(96, 32, 105, 21);
    QTest::newRow("scrSelect(0)") << "scrSelect(0)" << 0 << QRect(184, 64, 17, 17);
    QTest::newRow("txtInput(5) in Frame2")
        << "txtInput(5)" << 0 << QRect(8 + 136, 184 + 48, 41, 19);
    QTest::newRow("lblCaption(21) own top") << "lblCaption(21)" << 1 << QRect(8, 104, 129, 26);
    QTest::newRow("scrSelect(12) in Frame1")
        << "scrSelect(12)" << 1 << QRect(8 + 176, 168 + 80, 17, 17);
    QTest::newRow("chkWheel(3) rear right") << "chkWheel(3)" << 2 << QRect(176, 256, 17, 17);
}

void ParameterPanelTest::designGeometryMeasuredFromTabCorner() {
    QFETCH(QString, name);
    QFETCH(int, tab);
    QFETCH(QRect, expected);
    panel_->setCurrentIndex(tab);
    auto* w = panel_->findChild<QWidget*>(name);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(QRect(w->mapTo(panel_, QPoint(0, 0)), w->size()), expected);
}

void ParameterPanelTest::otherControlsStartAsDesigned() {
    QComboBox* com = panel_->comVehicle();
    QVERIFY(com->isEditable());
    QCOMPARE(com->count(), 3);
    QCOMPARE(com->itemText(0), QStringLiteral("Custom"));
    QCOMPARE(com->itemText(1), QStringLiteral("McLaren F1"));
    QCOMPARE(com->itemText(2), QStringLiteral("Imaginery Car"));
    QCOMPARE(com->currentText(), QStringLiteral("McLaren F1"));
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

    const QString connect =
        QStringLiteral("Connect plotted pixels.  Useful at low resolution (high calc. interval).");
    for (int i = 0; i < ParameterPanel::kWheelCount; ++i) {
        QCOMPARE(panel_->chkWheel(i)->checkState(), Qt::Unchecked);
        QVERIFY(panel_->chkWheel(i)->text().isEmpty());
        QCOMPARE(panel_->chkWheel(i)->toolTip(), connect);
    }
    auto* connectLabel = panel_->findChild<QLabel*>(QStringLiteral("Label1(2)"));
    QCOMPARE(connectLabel->text(), QStringLiteral("Connect Plot Pixels"));
    QCOMPARE(connectLabel->toolTip(), connect);
    // lblCaption(n) looks labels up by their own index, not the box index.
    QCOMPARE(panel_->lblCaption(18), panel_->boxCaption(2));
    QCOMPARE(panel_->lblCaption(1), nullptr);
}

void ParameterPanelTest::captionsFitTheirBoxes() {
    // Every caption is readable in full at its design size: a one-line
    // caption fits its width, a wrapped one fits its height.
    for (int tab = 0; tab < 3; ++tab) {
        panel_->setCurrentIndex(tab);
        for (QLabel* l : panel_->findChildren<QLabel*>()) {
            if (!l->isVisible() || l->text().isEmpty()) continue;
            const QFontMetrics fm(l->font());
            if (l->wordWrap()) {
                QVERIFY2(l->heightForWidth(l->width()) <= l->height(), qPrintable(l->text()));
            } else {
                QVERIFY2(fm.horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));
                QVERIFY2(fm.height() <= l->height() + 1, qPrintable(l->text()));
            }
        }
        for (QCheckBox* c : panel_->findChildren<QCheckBox*>()) {
            if (!c->isVisible()) continue;
            const int indicator = c->style()->pixelMetric(QStyle::PM_IndicatorWidth);
            const int room =
                c->width() - indicator - c->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            if (c->text().isEmpty())
                QVERIFY(indicator <= c->width());
            else
                QVERIFY2(QFontMetrics(c->font()).horizontalAdvance(c->text()) <= room,
                         qPrintable(c->text()));
        }
        for (QPushButton* b : panel_->findChildren<QPushButton*>())
            if (b->isVisible())
                QVERIFY2(QFontMetrics(b->font()).horizontalAdvance(b->text()) + 8 <= b->width(),
                         qPrintable(b->text()));
    }
}

void ParameterPanelTest::spinnerArrowsStepAndTheWheelDoesNot() {
    // A spinner inside a frame on the second tab; the steps of every box
    // show in the texts they give.
    panel_->setCurrentIndex(ParameterPanel::InitialConditionsTab);
    Spinner* s = panel_->scrSelect(12);
    QCOMPARE(s->smallChange(), 5);
    QCOMPARE(s->largeChange(), 1);
    QSignalSpy spy(s, &ReversedScrollBar::changed);

    // A real click on the upper arrow, then on the lower one; the handler of
    // the panel would put it back to 0 in between, here the test does.
    QTest::mouseClick(s->bar(), Qt::LeftButton, {}, QPoint(s->width() / 2, 2));
    QCOMPARE(s->value(), 5);
    s->setValue(0);
    QTest::mouseClick(s->bar(), Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 3));
    QCOMPARE(s->value(), -5);
    QCOMPARE(spy.size(), 3);
    QCOMPARE(spy.at(0).at(0).toInt(), 5);
    QCOMPARE(spy.at(2).at(0).toInt(), -5);

    // The mouse wheel scrolling past a spinner leaves its box alone.
    s->setValue(0);
    QWheelEvent wheel(QPointF(8, 8), s->bar()->mapToGlobal(QPointF(8, 8)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(s->bar(), &wheel);
    QCOMPARE(s->value(), 0);
}

void ParameterPanelTest::spinnerReportsCodeChangesAndCanBeResetInsideItsHandler() {
    Spinner* s = panel_->scrSelect(0);
    QList<int> seen;
    connect(s, &ReversedScrollBar::changed, this, [&](int v) {
        seen << s->value();
        QCOMPARE(v, s->value());
        if (v != 0) s->setValue(0); // nested: raises the notification once more, with 0
    });
    s->setValue(10);
    QCOMPARE(seen, (QList<int>{10, 0}));
    // Values beyond the range are held at its ends.
    s->setValue(100000);
    s->setValue(-100000);
    QCOMPARE(seen, (QList<int>{10, 0, 32767, 0, -32768, 0}));
    // Setting the value it already has raises nothing.
    s->setValue(0);
    QCOMPARE(seen.size(), 6);
}

QTEST_MAIN(ParameterPanelTest)
#include "tst_parameterpanel.moc"
