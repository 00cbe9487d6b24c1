// SPDX-License-Identifier: MIT
// The window's files: New, Open, Save and Save As (the tyre marks with the
// case) with the question before changes are dropped, refused files, recent
// files across a restart, the user's vehicles across a restart, and exports
// equal to the window and the batch.
#include "cli/BatchRunner.h"
#include "gui/CaseDocument.h"
#include "gui/CaseFiles.h"
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/PlotController.h"
#include "gui/PlotWidget.h"
#include "gui/RunController.h"

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
    void aSceneImageAndASurveyAreImportedAsOneStepOfUndoEach();

private:
    // A window as the program starts it, with settings and vehicles in the temporary folder.
    std::unique_ptr<MainWindow> window() {
        auto w = std::make_unique<MainWindow>();
        w->findChild<QTimer*>("Timer1")->stop(); // no splash
        w->setMessageHook([this](QWidget*, const QString&, const QString& m) { messages_ << m; });
        w->prompts().setFileHook(
            [this](const QString&, const QString&, bool) { return files_.takeFirst(); });
        w->prompts().setQuestionHook([this](const QString& q) {
            questions_ << q;
            return answers_.takeFirst();
        });
        w->useSettings(settings_.get());
        w->panel()->setVehiclesFile(dir_->filePath("data/vehicles.json"));
        return w;
    }
    QString path(const QString& name) const { return dir_->filePath(name); }
    QLineEdit* box(int i) const { return w_->panel()->txtInput(i); }
    // Typed over, as a user does.
    void type(int i, const QString& text) const {
        box(i)->selectAll();
        QTest::keyClicks(box(i), text);
    }
    QAction* action(const char* name) const { return w_->findChild<QAction*>(name); }
    bool modified() const { return w_->document().isModified(); }
    const QString& casePath() const { return w_->document().path(); }
    const std::vector<model::Mark>& marks() const { return w_->document().file().marks; }
    QCheckBox* chkSnap() const { return w_->findChild<QCheckBox*>("chkSnap"); }

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
    type(2, "1500");
    QVERIFY(modified());
    action("mnuNew")->trigger(); // untitled: never asks
    QVERIFY(questions_.isEmpty() && box(2)->text() == "1139" && !modified());

    type(2, "1500");
    chkSnap()->click(), w_->panel()->chkRealTime()->click();
    QTemporaryFile csv;
    QVERIFY(csv.open() && csv.write("FR,1,2\n") && csv.flush());
    files_ << csv.fileName();
    QVERIFY(w_->files().importMarks());
    files_ << path("a"); // Save on an untitled case asks for a name; .yawmark is added
    action("mnuSave")->trigger();
    QCOMPARE(casePath(), path("a.yawmark"));
    QVERIFY(!modified() && w_->windowTitle().startsWith("a.yawmark"));

    type(6, "25");
    answers_ << Answer::Cancel << Answer::Discard;
    action("mnuNew")->trigger(); // Cancel: nothing changes
    QVERIFY(box(6)->text() == "25" && modified() && casePath() == path("a.yawmark"));
    action("mnuNew")->trigger(); // Discard
    QVERIFY(box(2)->text() == "1139" && casePath().isEmpty() && questions_.size() == 2 &&
            !w_->panel()->chkRealTime()->isChecked() && marks().empty());

    files_ << path("a.yawmark");
    QVERIFY(w_->files().openCase());
    QVERIFY(box(2)->text() == "1500" && box(6)->text() == "20" && !modified());
    QVERIFY(chkSnap()->isChecked() && w_->panel()->chkRealTime()->isChecked());
    QVERIFY(marks().size() == 1 && marks()[0].wheel == sim::FR);
    type(6, "25");
    answers_ << Answer::Save; // Save, then open the same file: the change was kept
    files_ << path("a.yawmark");
    QVERIFY(w_->files().openCase());
    QCOMPARE(box(6)->text(), "25");

    // A file that cannot be used is refused by name, and the case stays.
    QFile junk(path("junk.yawmark"));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("{\"format\": 3}") > 0);
    junk.close();
    type(6, "30");
    QVERIFY(!w_->files().openCaseFile(path("junk.yawmark")));
    QVERIFY(messages_.last().startsWith(path("junk.yawmark")) && box(6)->text() == "30");
    // A save that fails keeps the changes unsaved; so does a box Draw would refuse.
    files_ << path("none/b.yawmark");
    QVERIFY(!w_->files().saveCaseAs() && modified() && messages_.size() == 2);
    type(2, "0");
    QVERIFY(!w_->files().saveCase() && messages_.last().contains("\"boxes.mass\"") && modified());
    type(2, "1500");

    answers_ << Answer::Cancel; // closing asks too
    QVERIFY(!w_->close());
    // After a restart the recent files list it.
    w_.reset();
    answers_ << Answer::Discard;
    w_ = window();
    QCOMPARE(w_->document().recentFiles(), QStringList{path("a.yawmark")});
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
    action("mnuExportTrajectory")->trigger(); // nothing to export before a run
    w_->findChild<QPushButton*>("cmdDraw")->click();
    QTRY_COMPARE(w_->runs().phase(), model::Phase::AtRest);
    QStringList sizes{"", "300 x 200", "12"};                // as the plot is, another, not a size
    w_->prompts().setTextHook([&](const QString&, const QString& plot) {
        const QString size = sizes.takeFirst();
        return size.isEmpty() ? plot : size;
    });
    files_ << path("plot.png") << path("small") << path("skid");
    for (int k = 0; k < 3; ++k)
        action("mnuExportImage")->trigger();
    const QImage small(path("small.png"));
    QImage blank(small.size(), small.format());
    blank.fill(Qt::white);
    QVERIFY(small.size() == QSize(300, 200) && small != blank); // the axes and the trails
    action("mnuExportTrajectory")->trigger();
    const QImage png(path("plot.png"));
    const QImage shown =
        w_->findChild<PlotWidget*>("plot")->grab().toImage().convertToFormat(png.format());
    QCOMPARE(png, shown);
    action("mnuCopy")->trigger();
    QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(png.format()), png);
    std::ostringstream out, err;
    QCOMPARE(runBatch({"--passes", std::to_string(w_->runs().passes())}, out, err), 0);
    QFile csv(path("skid.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QCOMPARE(csv.readAll().toStdString(), out.str());
    QCOMPARE(messages_.size(), 2);
}

void tst_Files::aSceneImageAndASurveyAreImportedAsOneStepOfUndoEach() {
    const auto write = [this](const QString& name, const QByteArray& bytes) {
        QFile f(path(name));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    };
    QImage red(20, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    QVERIFY(red.save(path("site.png")));
    write("site.pgw", "0.5\n0\n0\n-0.5\n-4.75\n10.25\n");
    write("not.png", "wheel,x,y\n");
    // No $INSUNITS: the unit is asked for.
    write("survey.dxf", "0\nSECTION\n2\nENTITIES\n0\nLINE\n8\nMARK_RL\n10\n0\n20\n0\n11\n0\n21\n"
                        "10\n0\nLINE\n8\nkerb\n10\n5\n20\n0\n11\n5\n21\n10\n0\nENDSEC\n0\nEOF\n");
    QStringList answers{"ft", ""};
    w_->prompts().setTextHook([&](const QString&, const QString& s) {
        const QString a = answers.takeFirst();
        return a.isEmpty() ? s : a;
    });
    files_ << path("not.png") << path("site.png") << path("survey.dxf") << path("scene.svg");
    w_->show();
    QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    const model::Scene& scene = w_->document().file().scene;
    action("mnuImportScene")->trigger();
    QVERIFY(scene.empty() && messages_.size() == 1 && messages_[0].contains("not.png"));
    action("mnuImportScene")->trigger();
    QCOMPARE(scene.image, path("site.png").toStdString());
    QCOMPARE(scene.placement.toWorld({0, 0}).x, -5.0);
    action("mnuImportSurvey")->trigger();
    QCOMPARE(marks().size(), 1u);
    QCOMPARE(marks()[0].points[1].y, 10 * model::kMetresPerFoot);
    QCOMPARE(scene.lines.size(), 1u);
    w_->findChild<QSlider*>("sldSceneOpacity")->setValue(20);
    w_->findChild<QSlider*>("sldSceneOpacity")->setValue(30);
    QCOMPARE(scene.opacity, 0.3);
    // The photo shows under the plot, pink at 30 %, and hides with View > Scene Image.
    const auto pink = [this] {
        const QImage shown = w_->plotter().shownImage();
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (const QRgb c = shown.pixel(x, y); qRed(c) == 255 && qAbs(qGreen(c) - 178) <= 4)
                    return true;
        return false;
    };
    QVERIFY(pink());
    action("mnuFit")->trigger();      // around the marks and the kerb,
    action("mnuFitScene")->trigger(); // then the photo's corners too
    QVERIFY(w_->plotter().view().xMin <= -5 && w_->plotter().view().yMax >= 10.5);
    action("mnuSceneImage")->trigger();
    QVERIFY(!pink());
    action("mnuExportImage")->trigger();
    QFile svg(path("scene.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));
    for (const std::size_t lines : {1, 0, 0}) { // the opacity, the survey, then the photo
        action("mnuUndo")->trigger();
        QCOMPARE(scene.lines.size(), lines);
    }
    QVERIFY(marks().empty() && scene.image.empty());
    action("mnuRedo")->trigger();
    QCOMPARE(scene.image, path("site.png").toStdString());
}

QTEST_MAIN(tst_Files)
#include "tst_files.moc"
