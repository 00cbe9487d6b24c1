// SPDX-License-Identifier: MIT
// The plot in the window: beside the panel at any size, a followed run that
// ends in sight, the units, the shortcuts that never type, what an export says.
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "gui/Prompts.h"
#include "gui/RunController.h"
#include "model/BoxTable.h"
#include "model/Case.h"
#include "sim/Car.h"

#include <QtTest>
#include <QtWidgets>

using namespace yawmark;
using model::Phase;

class tst_PlotView : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { w_.reset(); }
    void thePlotLiesBesideThePanel_data();
    void thePlotLiesBesideThePanel();
    void aFollowedRunEndsInSight_data();
    void aFollowedRunEndsInSight();
    void theStatusBarCutsNothingAndFollowsTheUnits();
    void fitSkidFromABoxTypesNothing();
    void exportsSayWhatTheyWrote();
    void theViewChoicesAreRemembered();

private:
    QAction* action(const char* name) const { return w_->findChild<QAction*>(name); }
    PlotWidget* plot() const { return w_->findChild<PlotWidget*>("plot"); }
    QWidget* panel() const { return w_->findChild<QWidget*>("panelColumn"); }
    // Every corner of the car's last outline lies on the plot's drawing area.
    bool restOutlineInSight() const {
        const model::Record& record = w_->runs().run().record();
        const model::Sample& s = record.newest();
        const sim::WheelPlacement wheels = sim::placeWheels(record.car(s), s.heading);
        const QRectF area(QPointF(0, 0), QSizeF(plot()->size()));
        for (const sim::Vec2 offset : wheels.offset) {
            const sim::Vec2 p = s.position + offset;
            if (!area.contains(plot()->surface().toDevice(p.x, p.y))) return false;
        }
        return true;
    }
    void drawToRest() {
        w_->draw();
        QTRY_COMPARE_WITH_TIMEOUT(w_->runs().phase(), Phase::AtRest, 20000);
    }

    std::unique_ptr<MainWindow> w_;
};

void tst_PlotView::init() {
    w_ = std::make_unique<MainWindow>();
    w_->findChild<QTimer*>("Timer1")->stop(); // no splash
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
}

void tst_PlotView::thePlotLiesBesideThePanel_data() {
    QTest::addColumn<QSize>("size"); // asked for; the window keeps its minimum
    QTest::newRow("default") << QSize();
    QTest::newRow("minimum") << QSize(1, 1);
    QTest::newRow("wide") << QSize(1800, 900);
}

void tst_PlotView::thePlotLiesBesideThePanel() {
    QFETCH(QSize, size);
    if (size.isValid()) w_->resize(size);
    QTRY_VERIFY(plot()->width() >= MainWindow::kMinPlotWidth);
    QVERIFY(plot()->height() >= MainWindow::kMinPlotHeight);
    const QPoint plotLeft = plot()->mapTo(w_.get(), QPoint(0, 0));
    QCOMPARE(plotLeft.x(), panel()->mapTo(w_.get(), QPoint(panel()->width(), 0)).x());
    for (const char* frame : {"fmeControl", "fmeTip"}) // every control and run button in sight
        QVERIFY(panel()->rect().contains(w_->findChild<QWidget*>(frame)->geometry()));
    // Fit Skid shows the whole skid on what is left.
    action("mnuFollow")->setChecked(false);
    drawToRest();
    action("mnuFit")->trigger();
    QVERIFY(restOutlineInSight());
    // Without the panel the plot takes the whole width.
    action("mnuPanel")->setChecked(false);
    QTRY_COMPARE(plot()->width(), w_->centralWidget()->width());
}

void tst_PlotView::aFollowedRunEndsInSight_data() {
    QTest::addColumn<bool>("follow");
    QTest::newRow("Follow Run") << true;
    QTest::newRow("without") << false;
}

void tst_PlotView::aFollowedRunEndsInSight() {
    QFETCH(bool, follow);
    action("mnuFollow")->setChecked(follow);
    w_->panel()->txtInput(model::kSpeedBox)->setText(QStringLiteral("40"));
    const plot::View before = w_->plotter().view();
    int grown = 0; // the view changed mid-run
    double width = before.xMax - before.xMin;
    connect(&w_->runs(), &RunController::passed, this, [&, this] {
        const plot::View& v = w_->plotter().view();
        grown += v.xMax - v.xMin != width && w_->runs().phase() == Phase::Running;
        width = v.xMax - v.xMin;
    });
    drawToRest();
    if (!follow) {
        QCOMPARE(w_->plotter().view().xMin, before.xMin);
        QCOMPARE(w_->plotter().view().yMax, before.yMax);
        QVERIFY(!restOutlineInSight()); // 126 m away: off the plot
        return;
    }
    QVERIFY(grown >= 1 && grown <= 3); // rarely, each time at least doubling the area
    QCoreApplication::processEvents(); // the end's fit comes after the last slice
    QVERIFY(restOutlineInSight());
    const plot::View ended = w_->plotter().view(); // fitted to the skid
    w_->plotter().fitSkid();
    QCOMPARE(w_->plotter().view().yMax, ended.yMax);
}

void tst_PlotView::theStatusBarCutsNothingAndFollowsTheUnits() {
    const QSize plotSize = plot()->size();
    drawToRest(); // a grip note, the readout at rest, then the rest error
    auto* readout = w_->findChild<QLabel*>("lblReadout");
    auto* note = w_->findChild<QLabel*>("lblNote");
    QTRY_VERIFY(note->text().contains(QStringLiteral("\nRest position good to about 13 cm")));
    QCOMPARE(plot()->size(), plotSize); // the notes came without a redraw
    for (QLabel* label : {readout, note}) // at the default size, each on lines of its own
        for (const QString& line : label->text().split(QLatin1Char('\n')))
            QVERIFY2(label->fontMetrics().horizontalAdvance(line) <= label->width(), qPrintable(line));
    action("mnuUS")->trigger(); // the readout and the notes say it again in feet
    QVERIFY(readout->text().contains(") ft; slid") && note->text().contains(" 5.1 in at"));
    QCOMPARE(w_->plotter().view().unit, 0.3048);
    QVERIFY(w_->findChild<QLabel*>("Label5")->text().contains(QStringLiteral("in feet")));
    QTest::mouseMove(plot(), QPoint(100, 100));
    QTRY_VERIFY(w_->findChild<QLabel*>("lblCursor")->text().endsWith(QStringLiteral(" ft")));
    w_->showFit(); // its tables follow the window's units
    QVERIFY(w_->findChild<QTableWidget*>("tblCritical")->horizontalHeaderItem(1)->text().contains("ft"));
    action("mnuMetric")->trigger();
    QVERIFY(readout->text().contains(") m;"));
}

void tst_PlotView::fitSkidFromABoxTypesNothing() {
    action("mnuFollow")->setChecked(false);
    drawToRest();
    QLineEdit* box = w_->panel()->txtInput(model::kSpeedBox);
    w_->activateWindow();
    box->setFocus();
    QTRY_VERIFY(box->hasFocus());
    const QString typed = box->text();
    const double width = w_->plotter().view().xMax - w_->plotter().view().xMin;
    QTest::keyClick(box, Qt::Key_0, Qt::ControlModifier); // Fit Skid's shortcut
    QCOMPARE(box->text(), typed);
    QVERIFY(w_->plotter().view().xMax - w_->plotter().view().xMin != width);
}

void tst_PlotView::exportsSayWhatTheyWrote() {
    drawToRest();
    QTemporaryDir dir;
    w_->prompts().setTextHook([](const QString&, const QString&) { return QStringLiteral("300x200"); });
    w_->prompts().setFileHook(
        [&](const QString&, const QString&, bool) { return dir.filePath("skid.png"); });
    action("mnuExportImage")->trigger();
    QCOMPARE(w_->statusBar()->currentMessage(), QStringLiteral("Saved skid.png, 300 \u00D7 200."));
    w_->prompts().setFileHook(
        [&](const QString&, const QString&, bool) { return dir.filePath("/no/such/folder/x.png"); });
    w_->prompts().setMessageHook([](QWidget*, const QString&, const QString&) {});
    w_->statusBar()->clearMessage();
    action("mnuExportImage")->trigger(); // a failure says so, not "Saved"
    QVERIFY(w_->statusBar()->currentMessage().isEmpty());
}

void tst_PlotView::theViewChoicesAreRemembered() {
    QTemporaryDir dir;
    QSettings settings(dir.filePath("yawmark.conf"), QSettings::IniFormat);
    w_->useSettings(&settings);
    for (const char* name : {"mnuUS", "mnuFollow", "mnuPanel"}) action(name)->trigger();
    init(); // the next start
    w_->useSettings(&settings);
    QVERIFY(action("mnuUS")->isChecked() && !action("mnuFollow")->isChecked());
    QVERIFY(!action("mnuPanel")->isChecked() && w_->plotter().view().unit == 0.3048);
    w_.reset(); // before the settings it uses
}

QTEST_MAIN(tst_PlotView)
#include "tst_plotview.moc"
