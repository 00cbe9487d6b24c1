// SPDX-License-Identifier: MIT
// The plot's tools in the window: marks digitised by clicks (add, drag,
// Delete; each a step of Undo) become the case's tyre marks as an imported
// CSV gives them; measurements follow the units and are cleared; with no tool
// the plot pans as before, and Escape pauses runs again.
#include "gui/CaseDocument.h"
#include "gui/MainWindow.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "model/Marks.h"

#include <QtTest>
#include <QtWidgets>

#include <cstdio>

using namespace yawmark;

class tst_Scene : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup() { w_.reset(); }
    void digitisedMarksAreTheCasesMarks();
    void measurementsStayUntilCleared();
    void aPhotoWithoutWorldFileIsCalibratedByTwoClicks();
    void theScaleBarGoesOnThePlotAndItsExports();

private:
    QAction* action(const char* name) const { return w_->findChild<QAction*>(name); }
    PlotWidget* plot() const { return w_->findChild<PlotWidget*>("plot"); }
    sim::Vec2 world(QPoint p) const {
        const QPointF w = plot()->surface().toWorld(p);
        return {w.x(), w.y()};
    }
    void click(QPoint p) { QTest::mouseClick(plot(), Qt::LeftButton, {}, p); }
    void drag(QPoint from, QPoint to) {
        QTest::mousePress(plot(), Qt::LeftButton, {}, from);
        for (const QPoint p : {(from + to) / 2, to}) {
            QMouseEvent move(QEvent::MouseMove, p, plot()->mapToGlobal(p), Qt::NoButton,
                             Qt::LeftButton, {});
            QCoreApplication::sendEvent(plot(), &move);
        }
        QTest::mouseRelease(plot(), Qt::LeftButton, {}, to);
    }
    const std::vector<model::Mark>& marks() const { return w_->document().file().marks; }

    std::unique_ptr<MainWindow> w_;
    QString wheelAnswer_ = QStringLiteral("RR");
};

void tst_Scene::init() {
    w_ = std::make_unique<MainWindow>();
    w_->findChild<QTimer*>("Timer1")->stop(); // no splash
    w_->setMessageHook([](QWidget*, const QString&, const QString&) {});
    w_->prompts().setTextHook([this](const QString&, const QString&) { return wheelAnswer_; });
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    w_->plotter().clear(); // the axes: the plot maps pixels to metres
}

void tst_Scene::digitisedMarksAreTheCasesMarks() {
    QUndoStack& undo = *w_->document().undoStack();
    const int steps = undo.count();
    action("mnuDigitise")->trigger();
    QVERIFY(action("mnuDigitise")->isChecked());
    const QPoint a(100, 200), b(160, 190), c(220, 170), moved(160, 230);
    for (const QPoint p : {a, b, c})
        click(p);
    QCOMPARE(undo.count(), steps + 3);
    drag(b, moved);
    QCOMPARE(undo.count(), steps + 4); // a drag is one step
    click(c);
    QTest::keyClick(plot(), Qt::Key_Delete);
    QCOMPARE(undo.count(), steps + 5);

    // What an imported CSV of the same points gives (Fit to Marks reads the same).
    std::string csv = "wheel,x,y\n";
    for (const QPoint p : {a, moved}) {
        char row[80];
        std::snprintf(row, sizeof row, "RR,%.17g,%.17g\n", world(p).x, world(p).y);
        csv += row;
    }
    const auto imported = std::get<std::vector<model::Mark>>(model::parseMarks(csv));
    QCOMPARE(marks().size(), 1u);
    QVERIFY(marks() == imported);

    undo.undo(); // the deleted point back
    QCOMPARE(marks().at(0).points.size(), 3u);
    undo.undo(); // the drag undone whole
    QVERIFY(marks().at(0).points.at(1) == world(b));
    undo.redo();
    undo.redo();
    QVERIFY(marks() == imported);

    QTest::keyClick(plot(), Qt::Key_Escape);
    QVERIFY(!action("mnuDigitise")->isChecked());
    QCOMPARE(plot()->tool(), nullptr);
    // No tool: a drag pans again, and adds nothing.
    const double xMin = w_->plotter().view().xMin;
    drag(QPoint(200, 200), QPoint(260, 200));
    QVERIFY(w_->plotter().view().xMin < xMin);
    QCOMPARE(undo.count(), steps + 5);

    wheelAnswer_ = QStringLiteral("XX"); // not a wheel: no tool
    action("mnuDigitise")->trigger();
    QVERIFY(!action("mnuDigitise")->isChecked());
    QCOMPARE(plot()->tool(), nullptr);
}

void tst_Scene::measurementsStayUntilCleared() {
    action("mnuMeasure")->trigger();
    QVERIFY(action("mnuMeasure")->isChecked());
    auto* note = w_->findChild<QLabel*>("lblNote");
    click(QPoint(100, 200));
    click(QPoint(200, 200));
    const auto& taken = w_->plotter().measurements();
    QCOMPARE(taken.size(), 1u);
    QCOMPARE(note->text(), QStringLiteral("Distance: ") + w_->plotter().measurementText(taken[0]));
    click(QPoint(200, 100));
    QVERIFY(w_->plotter().measurementText(taken[0]).endsWith(QStringLiteral("\u00B0")));
    QCOMPARE(note->text(), QStringLiteral("Angle: ") + w_->plotter().measurementText(taken[0]));
    click(QPoint(300, 300)); // the next measurement
    click(QPoint(400, 300));
    QCOMPARE(w_->plotter().measurements().size(), 2u);
    action("mnuUS")->trigger();
    const auto& drawn = w_->plotter().scene().dimensions; // labelled again in feet
    QCOMPARE(drawn.size(), 2u);
    QVERIFY(QString::fromStdString(drawn[1].label).endsWith(QStringLiteral(" ft")));
    action("mnuDigitise")->trigger(); // one tool at a time
    QVERIFY(!action("mnuMeasure")->isChecked());
    QCOMPARE(w_->plotter().measurements().size(), 2u);
    action("mnuClearMeasurements")->trigger();
    QVERIFY(w_->plotter().measurements().empty());
}

void tst_Scene::aPhotoWithoutWorldFileIsCalibratedByTwoClicks() {
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("site.png"));
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::gray);
    QVERIFY(image.save(photo));
    w_->prompts().setFileHook([&](const QString&, const QString&, bool) { return photo; });
    wheelAnswer_ = QStringLiteral("20"); // metres between the two points
    action("mnuImportScene")->trigger();
    QVERIFY(action("mnuCalibrate")->isChecked());
    const model::Scene& scene = w_->document().file().scene;
    QCOMPARE(scene.image, photo.toStdString());
    // Where pixels (0, 50) and (200, 50) of the photo show on the plot.
    const auto shown = [&](sim::Vec2 pixel) {
        const sim::Vec2 at = scene.placement.toWorld(pixel);
        return plot()->surface().toDevice(at.x, at.y).toPoint();
    };
    const QPoint left = shown({0, 50}), right = shown({200, 50});
    const int steps = w_->document().undoStack()->count();
    click(left);
    click(right);
    QVERIFY(!action("mnuCalibrate")->isChecked());
    QCOMPARE(w_->document().undoStack()->count(), steps + 1);
    // A click lands within a pixel of the screen: the photo's pixels are near 0.1 m.
    QVERIFY(std::abs(scene.placement.scale() - 0.1) < 0.01);
    QVERIFY(sim::length(scene.placement.toWorld({0, 50})) < 0.5);
    QVERIFY(w_->plotter().view().xMax < 30); // the view around the photo at its new scale
}

void tst_Scene::theScaleBarGoesOnThePlotAndItsExports() {
    w_->plotter().clear(); // the axes
    // Black pixels in the bottom-left corner, where the bar goes.
    const auto black = [](const QImage& image) {
        int n = 0;
        for (int y = image.height() * 3 / 4; y < image.height(); ++y)
            for (int x = 0; x < image.width() / 3; ++x)
                n += image.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    };
    const int plain = black(w_->plotter().shownImage());
    action("mnuScaleBar")->trigger();
    QVERIFY(black(w_->plotter().shownImage()) > plain + 20);
    // An export at another size is drawn afresh, the bar with it.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bar.png"));
    w_->prompts().setTextHook([](const QString&, const QString&) { return QStringLiteral("500x400"); });
    w_->prompts().setFileHook([path](auto&&...) { return path; });
    w_->plotter().exportImage();
    const QImage exported(path);
    QCOMPARE(exported.size(), QSize(500, 400));
    QVERIFY(black(exported) > 20);
}

QTEST_MAIN(tst_Scene)
#include "tst_scene.moc"
