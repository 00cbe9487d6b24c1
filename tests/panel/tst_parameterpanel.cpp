// The parameter panel as the user first sees it: every control present under
// its name, captions and tooltips as written, design positions, the tabs
// hiding what they do not show, and the spinners' arrows.
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
    void onlyTheShownTabIsVisible();
    void captionsFitTheirBoxes();
    void spinnerArrowsStepBySmallChange_data();
    void spinnerArrowsStepBySmallChange();
    void spinnerReportsCodeChangesAndCanBeResetInsideItsHandler();

private:
    // Where a control stands, measured from the tab control's outer corner.
    QRect onTab(const QWidget* w) const { return {w->mapTo(panel_, QPoint(0, 0)), w->size()}; }
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
        QCOMPARE(bar->largeChange(), 1);
        // Box, spinner and caption of a row stay on one tab page.
        QCOMPARE(box->parentWidget(), bar->parentWidget());
        QCOMPARE(box->parentWidget(), panel_->boxCaption(i)->parentWidget());
    }
    for (int i = 0; i < ParameterPanel::kWheelCount; ++i)
        QCOMPARE(panel_->findChild<QCheckBox*>(DesignForm::arrayName("chkWheel", i)),
                 panel_->chkWheel(i));
    for (const char* name : {"lblVehicle", "comVehicle", "Frame2", "chkInertia", "cmdInertia",
                             "Frame1", "chkNormal", "cmdNormal", "chkRealTime", "Label1(2)",
                             "Shape1(1)", "Line1", "Label4", "Label3", "lblDesc(18)"})
        QVERIFY2(panel_->findChild<QWidget*>(QLatin1String(name)), name);
    // Rows 5, 11 and 12 live inside their "Calculate" frames.
    QCOMPARE(panel_->txtInput(5)->parentWidget(), panel_->frame2());
    QCOMPARE(panel_->txtInput(11)->parentWidget(), panel_->frame1());
    QCOMPARE(panel_->txtInput(12)->parentWidget(), panel_->frame1());
}

void ParameterPanelTest::captionsAndTooltips_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    const QString length = QStringLiteral("10 ft = 3.048 m    Must be greater than 0.");
    const QString start = QStringLiteral("Starting position on the x-y plane ");
    auto row = [](int box, const char* label, const char* caption, const QString& tip) {
        QTest::newRow(label) << box << QString::fromLatin1(label) << QString::fromLatin1(caption)
                             << tip;
    };
    row(0, "lblCaption(2)", "Wheelbase Length (m)", length);
    row(1, "lblCaption(3)", "Wheelbase Width (m)", length);
    row(2, "lblCaption(18)", "Vehicle Mass (kg)",
        "1 ton = 907.18 kg on Earth.  Must be non-zero.  If opposite in sign to Moment of "
        "Inertia, produces negative Moment of Inertia.");
    row(3, "lblCaption(17)", "Weight Distribution (% Rear)",
        "All values.  Adjusts position of Center of Mass.  Keep in mind its turning radius and "
        "position are used to calculate steering angle.");
    row(4, "lblCaption(4)", "Tire Coefficient of Kinetic Friction",
        "> 0 in real life.  Negative values reverse directions of all forces.");
    row(5, "lblCaption(5)", "Moment of Inertia (kg-m^2)",
        "1000 lb-ft-sec^2 = 1355.8 kg-m^2    Must be non-zero.  Can be negative.");
    row(6, "lblCaption(25)", "Initial Speed (m/s)",
        "10 mph = 4.4704 m/s.    Must be non-zero.  Initial Speed of Center of Mass.  To back "
        "up vehicle, changing relative direction recommended.");
    row(7, "lblCaption(24)", "Initial Direction of Travel (degrees, L-/R+)",
        "Initial direction of the center of mass with respect to the y-axis");
    row(8, "lblCaption(22)", "Steering Direction (L/R/CE)",
        "Direction of front wheel steering angle.");
    row(9, "lblCaption(21)", "Mass Center Turning Radius (m)",
        "10 ft = 3.048 m    Turning Radius during normal driving.  Must be greater than "
        "distance from Center of Mass to Rear.");
    row(10, "lblCaption(23)", "g (acceleration due to gravity) (m/s^2)", "Gravity (duh)");
    row(11, "lblCaption(11)", "Relative direction the vehicle points at (degrees)",
        "In degrees (L-/R+)  The direction the vehicle initially points at relative to the "
        "tangent of the center of mass.");
    row(12, "lblCaption(12)", "Angular Velocity (turn/s)",
        "(CCW-/CW+)  Rate at which the vehicle is spinning initially.");
    row(13, "lblCaption(20)", "Calculation Interval (ms)",
        "In milliseconds, must be greater than 0.  Smaller value gives higher resolution.  "
        "Linear interpolation calculation intervals.");
    row(14, "Label3", "AutoSnapshot Interval (ms)",
        "In milliseconds, approximate only.  Select 1000 for roughly 1 snapshot per second in "
        "real world.  Applicable only if \"Auto\" is checked.");
    row(15, "lblCaption(19)", "Plot Pixel Size", "Must be at least 1");
    row(16, "lblCaption(15)", "Starting Position - X", start);
    row(17, "lblCaption(16)", "Starting Position - Y", start);
    row(18, "lblDesc(18)", "Front Wheel Sensitivity",
        "From 0 and 1, inclusive.  Analogous to the rigidity of front wheel's steering.  A value "
        "of 1 gives no-friction front wheels.  See documentation.");
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
    QTest::newRow("txtInput(0)") << "txtInput(0)" << 0 << QRect(144, 64, 41, 19);
    QTest::newRow("scrSelect(0)") << "scrSelect(0)" << 0 << QRect(184, 64, 17, 17);
    QTest::newRow("lblCaption(4)") << "lblCaption(4)" << 0 << QRect(8, 160, 129, 26);
    QTest::newRow("txtInput(5) in Frame2")
        << "txtInput(5)" << 0 << QRect(8 + 136, 184 + 48, 41, 19);
    QTest::newRow("txtInput(6)") << "txtInput(6)" << 1 << QRect(144, 32, 41, 19);
    QTest::newRow("lblCaption(21) own top") << "lblCaption(21)" << 1 << QRect(8, 104, 129, 26);
    QTest::newRow("scrSelect(12) in Frame1")
        << "scrSelect(12)" << 1 << QRect(8 + 176, 168 + 80, 17, 17);
    QTest::newRow("cmdNormal") << "cmdNormal" << 1 << QRect(8 + 136, 168 + 16, 57, 25);
    QTest::newRow("txtInput(18)") << "txtInput(18)" << 2 << QRect(144, 184, 41, 19);
    QTest::newRow("chkRealTime") << "chkRealTime" << 2 << QRect(32, 56, 169, 17);
    QTest::newRow("chkWheel(1) front left") << "chkWheel(1)" << 2 << QRect(144, 208, 17, 17);
    QTest::newRow("chkWheel(3) rear right") << "chkWheel(3)" << 2 << QRect(176, 256, 17, 17);
    QTest::newRow("Label4") << "Label4" << 2 << QRect(112, 256, 31, 13);
}

void ParameterPanelTest::designGeometryMeasuredFromTabCorner() {
    QFETCH(QString, name);
    QFETCH(int, tab);
    QFETCH(QRect, expected);
    panel_->setCurrentIndex(tab);
    auto* w = panel_->findChild<QWidget*>(name);
    QVERIFY(w);
    QVERIFY(w->isVisible());
    QCOMPARE(onTab(w), expected);
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

    for (QCheckBox* c : {panel_->chkInertia(), panel_->chkNormal()}) {
        QCOMPARE(c->text(), QStringLiteral("Auto Calculate"));
        QCOMPARE(c->checkState(), Qt::Checked);
    }
    for (QPushButton* b : {panel_->cmdInertia(), panel_->cmdNormal()}) {
        QCOMPARE(b->text(), QStringLiteral("Calculate"));
        QVERIFY(b->isEnabled());
    }
    QCOMPARE(panel_->cmdInertia()->toolTip(),
             QStringLiteral("Calculate Moment of Inertia from vehicle mass by assuming "
                            "homogeneity of mass distribution."));
    QCOMPARE(panel_->cmdNormal()->toolTip(),
             QStringLiteral("Calculate dynamics created by Normal Driving with no skidding, "
                            "sliding or drifting.  Simulates initial condition before handbrake "
                            "is applied."));
    QCOMPARE(panel_->chkRealTime()->text(), QStringLiteral("Real Time (Not Recommended)"));
    QCOMPARE(panel_->chkRealTime()->checkState(), Qt::Unchecked);
    QCOMPARE(panel_->chkRealTime()->toolTip(),
             QStringLiteral("Tries to plot in real time by slowing down calculations.  Use if "
                            "plotting is too fast (e.g. traveling straight).  Not recommended at "
                            "high resolutions."));

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
    QCOMPARE(panel_->findChild<QLabel*>(QStringLiteral("Label4"))->text(), QStringLiteral("Rear"));
    QCOMPARE(panel_->findChild<QLabel*>(QStringLiteral("lblVehicle"))->text(),
             QStringLiteral("Vehicle"));
    // lblCaption(n) looks labels up by their own index, not the box index.
    QCOMPARE(panel_->lblCaption(18), panel_->boxCaption(2));
    QCOMPARE(panel_->lblCaption(1), nullptr);
}

void ParameterPanelTest::onlyTheShownTabIsVisible() {
    QCOMPARE(panel_->currentIndex(), 0);
    for (int tab = 0; tab < 3; ++tab) {
        panel_->setCurrentIndex(tab);
        for (int i = 0; i < ParameterPanel::kBoxCount; ++i) {
            const bool shown = ParameterPanel::tabOfBox(i) == tab;
            QCOMPARE(panel_->txtInput(i)->isVisible(), shown);
            QCOMPARE(panel_->scrSelect(i)->isVisible(), shown);
            QCOMPARE(panel_->boxCaption(i)->isVisible(), shown);
        }
        QCOMPARE(panel_->comVehicle()->isVisible(), tab == 0);
        QCOMPARE(panel_->cmdNormal()->isVisible(), tab == 1);
        QCOMPARE(panel_->chkWheel(0)->isVisible(), tab == 2);
    }
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
            const int room = c->width() - c->style()->pixelMetric(QStyle::PM_IndicatorWidth) -
                             c->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing);
            if (!c->isVisible()) continue;
            if (c->text().isEmpty())
                QVERIFY(c->style()->pixelMetric(QStyle::PM_IndicatorWidth) <= c->width());
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

void ParameterPanelTest::spinnerArrowsStepBySmallChange_data() {
    QTest::addColumn<int>("box");
    QTest::addColumn<int>("step");
    QTest::newRow("length") << 0 << 10;
    QTest::newRow("mass") << 2 << 5000;
    QTest::newRow("friction") << 4 << 5;
    QTest::newRow("inertia, in its frame") << 5 << 5000;
    QTest::newRow("steering") << 8 << 100;
    QTest::newRow("angular velocity, in its frame") << 12 << 5;
    QTest::newRow("sensitivity") << 18 << 1;
}

void ParameterPanelTest::spinnerArrowsStepBySmallChange() {
    QFETCH(int, box);
    QFETCH(int, step);
    panel_->setCurrentIndex(ParameterPanel::tabOfBox(box));
    Spinner* s = panel_->scrSelect(box);
    QCOMPARE(s->smallChange(), step);
    QSignalSpy spy(s, &ReversedScrollBar::changed);

    // A real click on the upper arrow, then on the lower one; the handler of
    // the panel would put it back to 0 in between, here the test does.
    QTest::mouseClick(s->bar(), Qt::LeftButton, {}, QPoint(s->width() / 2, 2));
    QCOMPARE(s->value(), step);
    s->setValue(0);
    QTest::mouseClick(s->bar(), Qt::LeftButton, {}, QPoint(s->width() / 2, s->height() - 3));
    QCOMPARE(s->value(), -step);
    QCOMPARE(spy.size(), 3);
    QCOMPARE(spy.at(0).at(0).toInt(), step);
    QCOMPARE(spy.at(2).at(0).toInt(), -step);

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
    QCOMPARE(s->value(), 0);
    // Values beyond the range are held at its ends.
    seen.clear();
    s->setValue(100000);
    QCOMPARE(seen, (QList<int>{32767, 0}));
    s->setValue(-100000);
    QCOMPARE(seen, (QList<int>{32767, 0, -32768, 0}));
    // Setting the value it already has raises nothing.
    seen.clear();
    s->setValue(0);
    QVERIFY(seen.isEmpty());
}

QTEST_MAIN(ParameterPanelTest)
#include "tst_parameterpanel.moc"
