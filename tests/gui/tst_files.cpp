// SPDX-License-Identifier: MIT
// The window's files: New, Open, Save and Save As (the tyre marks with the
// case) with the question before changes are dropped, refused files, recent
// files across a restart, the user's vehicles across a restart, and exports
// equal to the window and the batch.
#include "cli/BatchRunner.h"
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotWidget.h"

#include <QtTest>
#include <QtWidgets>

#include <sstream>

using namespace yawmark;
using Answer = QMessageBox::StandardButton;

class tst_Files : public QObject {
    Q_OBJECT
private slots:
    void init();
    void newOpenSaveAndTheQuestionBeforeChangesAreDropped();
    void vehiclesSurviveARestart();
    void exportsAreTheWindowsPlotAndTheBatchRunnersCsv();

private:
    // A window as the program starts it, with settings and vehicles in the temporary folder.
    std::unique_ptr<MainWindow> window() {
        auto w = std::make_unique<MainWindow>();
        w->timer1()->stop(); // no splash
        w->setMessageHook([this](QWidget*, const QString&, const QString& m) { messages_ << m; });
        w->setFileHook([this](const QString&, const QString&, bool) { return files_.takeFirst(); });
        w->setQuestionHook([this](const QString& q) {
            questions_ << q;
            return answers_.takeFirst();
        });
        w->useSettings(settings_.get());
        w->panel()->setVehiclesFile(dir_->filePath("data/vehicles.json"));
        return w;
    }
    QString path(const QString& name) const { return dir_->filePath(name); }
    QLineEdit* box(int i) const { return w_->panel()->txtInput(i); }

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<QSettings> settings_;
    std::unique_ptr<MainWindow> w_;
    QStringList files_, messages_, questions_;
    QList<Answer> answers_;
};

void tst_Files::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    settings_ = std::make_unique<QSettings>(path("settings.ini"), QSettings::IniFormat);
    messages_.clear(), questions_.clear();
    w_ = window();
}

void tst_Files::newOpenSaveAndTheQuestionBeforeChangesAreDropped() {
    box(2)->setText("1500");
    QVERIFY(w_->caseModified());
    w_->mnuNew()->trigger(); // untitled: never asks
    QVERIFY(questions_.isEmpty() && box(2)->text() == "1139" && !w_->caseModified());

    box(2)->setText("1500");
    w_->chkSnap()->setChecked(true), w_->panel()->chkRealTime()->setChecked(true);
    w_->setMarks({{sim::FR, {{1, 2}}}});
    files_ << path("a"); // Save on an untitled case asks for a name; .yawmark is added
    w_->mnuSave()->trigger();
    QCOMPARE(w_->casePath(), path("a.yawmark"));
    QVERIFY(!w_->caseModified() && w_->windowTitle().startsWith("a.yawmark"));

    box(6)->setText("25");
    answers_ << Answer::Cancel << Answer::Discard;
    w_->mnuNew()->trigger(); // Cancel: nothing changes
    QVERIFY(box(6)->text() == "25" && w_->caseModified() && w_->casePath() == path("a.yawmark"));
    w_->mnuNew()->trigger(); // Discard
    QVERIFY(box(2)->text() == "1139" && w_->casePath().isEmpty() && questions_.size() == 2 &&
            !w_->panel()->chkRealTime()->isChecked() && w_->marks().empty());

    files_ << path("a.yawmark");
    QVERIFY(w_->openCase());
    QVERIFY(box(2)->text() == "1500" && box(6)->text() == "20" && !w_->caseModified());
    QVERIFY(w_->chkSnap()->isChecked() && w_->panel()->chkRealTime()->isChecked());
    QVERIFY(w_->marks().size() == 1 && w_->marks()[0].wheel == sim::FR);
    box(6)->setText("25");
    answers_ << Answer::Save; // Save, then open the same file: the change was kept
    files_ << path("a.yawmark");
    QVERIFY(w_->openCase());
    QCOMPARE(box(6)->text(), "25");

    // A file that cannot be used is refused by name, and the case stays.
    QFile junk(path("junk.yawmark"));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("{\"format\": 3}") > 0);
    junk.close();
    box(6)->setText("30");
    QVERIFY(!w_->openCaseFile(path("junk.yawmark")));
    QVERIFY(messages_.last().startsWith(path("junk.yawmark")) && box(6)->text() == "30");
    // A save that fails keeps the changes unsaved; so does a box Draw would refuse.
    files_ << path("none/b.yawmark");
    QVERIFY(!w_->saveCaseAs() && w_->caseModified() && messages_.size() == 2);
    box(2)->setText("0");
    QVERIFY(!w_->saveCase() && messages_.last().contains("\"boxes.mass\"") && w_->caseModified());
    box(2)->setText("1500");

    answers_ << Answer::Cancel; // closing asks too
    QVERIFY(!w_->close() && !w_->closing());
    // After a restart the recent files list it.
    w_.reset();
    answers_ << Answer::Discard;
    w_ = window();
    QCOMPARE(w_->recentFiles(), QStringList{path("a.yawmark")});
    w_->findChild<QMenu*>("mnuRecent")->actions().at(0)->trigger();
    QCOMPARE(box(6)->text(), "25");
}

void tst_Files::vehiclesSurviveARestart() {
    const QStringList van{"3.4", "1.7", "2100", "55", "0.8"};
    for (int i = 0; i < 5; ++i)
        box(i)->setText(van[i]);
    w_->panel()->setNameHook([](const QString&) { return QStringLiteral(" Van "); });
    w_->panel()->findChild<QAction*>("mnuSaveVehicle")->trigger();
    w_->panel()->setNameHook([](const QString&) { return QStringLiteral("McLaren F1"); });
    w_->panel()->findChild<QAction*>("mnuSaveVehicle")->trigger(); // a built-in name: refused
    QCOMPARE(messages_.size(), 1);
    w_ = window();
    QComboBox* list = w_->panel()->comVehicle();
    QCOMPARE(list->itemText(list->count() - 1), "Van");
    list->setCurrentIndex(list->count() - 1);
    emit list->activated(list->count() - 1); // chosen as a preset is: boxes 0 to 4
    for (int i = 0; i < 5; ++i)
        QCOMPARE(box(i)->text(), van[i]);
    w_->panel()->findChild<QAction*>("mnuRemoveVehicle")->trigger();
    w_ = window();
    QVERIFY(w_->panel()->userVehicles().empty() && messages_.size() == 1);
}

void tst_Files::exportsAreTheWindowsPlotAndTheBatchRunnersCsv() {
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    w_->setPassHook([this](std::uint64_t pass) {
        if (pass == 50) w_->togglePause();
    });
    w_->exportTrajectory(); // nothing to export before a run
    w_->cmdDraw()->click();
    QStringList sizes{"", "300 x 200", "12"}; // as the plot is, another, not a size
    w_->setTextHook([&](const QString&, const QString& plot) {
        const QString size = sizes.takeFirst();
        return size.isEmpty() ? plot : size;
    });
    files_ << path("plot.png") << path("small") << path("skid");
    w_->exportImage(), w_->exportImage(), w_->exportImage();
    const QImage small(path("small.png"));
    QImage blank(small.size(), small.format());
    blank.fill(Qt::white);
    QVERIFY(small.size() == QSize(300, 200) && small != blank); // the axes and the trails
    w_->exportTrajectory();
    const QImage png(path("plot.png"));
    const QImage shown = w_->plot()->grab().toImage().convertToFormat(png.format());
    QVERIFY(png.width() < shown.width() - 200); // right of the panel
    QCOMPARE(png, shown.copy(shown.width() - png.width(), 0, png.width(), png.height()));
    w_->copyImage();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(png.format()), png);
    std::ostringstream out, err;
    QCOMPARE(runBatch({"--passes", "50"}, out, err), 0);
    QFile csv(path("skid.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().toStdString(), out.str());
    QCOMPARE(messages_.size(), 2);
}

QTEST_MAIN(tst_Files)
#include "tst_files.moc"
