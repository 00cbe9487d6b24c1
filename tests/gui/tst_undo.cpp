// SPDX-License-Identifier: MIT
// Undo and the recovery copy. The case document alone: steps merged, a merge
// back to the start is no step, the clean state is the saved one, a saved case
// leaves no copy, a copy of an ended program is restored modified, a damaged
// one set aside. Then in the window, one row per kind of change the user can
// make: Undo names it, puts the case back exactly and the title's * with it,
// Redo makes it again; and an untitled case with changes survives closing.
#include "gui/CaseDocument.h"
#include "gui/CaseFiles.h"
#include "gui/FitDialog.h"
#include "gui/MainWindow.h"
#include "gui/OptionsDialog.h"
#include "gui/ParameterPanel.h"
#include "gui/Spinner.h"
#include "gui/SpreadDialog.h"

#include <QtTest>
#include <QtWidgets>

using namespace yawmark;

namespace {

io::CaseFile withMass(const char* mass) {
    io::CaseFile f = io::startupCaseFile();
    f.texts.text[model::kMassBox] = mass;
    return f;
}

} // namespace

class tst_Undo : public QObject {
    Q_OBJECT
private slots:
    void theDocumentMergesStepsAndKnowsTheSavedState();
    void theDocumentKeepsAndRestoresItsRecoveryCopy();
    void everyChangeIsUndoneAndRedone_data();
    void everyChangeIsUndoneAndRedone();
    void anUntitledCaseSurvivesClosing();

private:
    std::unique_ptr<MainWindow> window(const QString& recovery = {}) {
        auto w = std::make_unique<MainWindow>();
        w->findChild<QTimer*>("Timer1")->stop(); // no splash
        w->setMessageHook([](QWidget*, const QString&, const QString&) {});
        if (!recovery.isEmpty()) w->keepRecoveryIn(recovery);
        return w;
    }
};

void tst_Undo::theDocumentMergesStepsAndKnowsTheSavedState() {
    CaseDocument doc;
    QUndoStack& stack = *doc.undoStack();
    QList<io::CaseFile> shown;
    connect(&doc, &CaseDocument::shown, this, [&](const io::CaseFile& f) { shown << f; });
    doc.change("Typing in Mass", withMass("1"), 2);
    doc.change("Typing in Mass", withMass("15"), 2);
    doc.change("Typing in Mass", withMass("15"), 2);
    doc.change("Reset All Variables", withMass("15")); // no change: no step
    // The user's own changes are in the widgets already: nothing is shown back.
    QVERIFY(stack.count() == 1 && doc.isModified() && stack.undoText() == "Typing in Mass" &&
            shown.isEmpty());
    doc.change("Typing in Mass", io::startupCaseFile(), 2); // typed back: no step at all
    QVERIFY(stack.count() == 0 && !doc.isModified() && doc.file() == io::startupCaseFile());

    doc.change("Typing in Mass", withMass("1500"), 2);
    QTemporaryDir dir;
    QVERIFY(!doc.saveTo(dir.filePath("a.yawmark")) && !doc.isModified());
    doc.change("Typing in Mass", withMass("1600"), 2); // after a save: a step of its own
    doc.change("Reset All Variables", io::startupCaseFile());
    QCOMPARE(stack.count(), 3);
    stack.undo();
    stack.undo();
    QVERIFY(!doc.isModified() && doc.file() == withMass("1500") && shown.last() == doc.file());
    stack.undo();
    QVERIFY(doc.isModified() && shown.last() == io::startupCaseFile());
    stack.redo();
    QVERIFY(!doc.isModified() && shown.last() == withMass("1500"));
    // A case Draw would refuse is not saved, and stays modified.
    doc.change("Typing in Mass", withMass("0"), 2);
    QVERIFY(doc.saveTo(dir.filePath("a.yawmark")) && doc.isModified());
    doc.replace(io::startupCaseFile()); // New: nothing to undo
    QVERIFY(stack.count() == 0 && !doc.isModified() && doc.path().isEmpty());
}

void tst_Undo::theDocumentKeepsAndRestoresItsRecoveryCopy() {
    QTemporaryDir dir;
    const auto copies = [&] {
        return QDir(dir.path()).entryList({"unsaved-*.yawmark"}, QDir::Files);
    };
    {
        CaseDocument doc;
        doc.keepRecoveryIn(dir.path());
        const auto copied = [&] { // the mass the copy holds
            QFile f(dir.filePath(copies().value(0)));
            const QByteArray text = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
            const auto read = io::readUnsavedText(std::string_view(text.data(), text.size()));
            const auto* u = std::get_if<io::Unsaved>(&read);
            return u ? u->file.texts.text[model::kMassBox] : std::string();
        };
        doc.change("Typing in Mass", withMass("15"), 2);
        QTRY_COMPARE_WITH_TIMEOUT(copied(), "15", 2 * CaseDocument::kRecoveryDelayMs);
        doc.change("Typing in Mass", withMass("150"), 2); // merged into the same step
        QTRY_COMPARE_WITH_TIMEOUT(copied(), "150", 2 * CaseDocument::kRecoveryDelayMs);
        QVERIFY(!doc.saveTo(dir.filePath("a.yawmark"))); // saved: no copy
        QVERIFY(copies().isEmpty());
        doc.change("Typing in Mass", withMass("16"), 2);
        doc.writeRecoveryNow();
        QCOMPARE(copies().size(), 1);
    } // the program ends with its changes unsaved
    CaseDocument next;
    next.keepRecoveryIn(dir.path());
    QCOMPARE(next.restoreRecovery(), "Restored the unsaved case from your last session.");
    QVERIFY(next.file() == withMass("16") && next.isModified());
    QCOMPARE(next.path(), dir.filePath("a.yawmark"));
    QCOMPARE(copies().size(), 1); // now the copy of this one

    QFile junk(dir.filePath("unsaved-1-damaged.yawmark"));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("{") == 1);
    junk.close();
    CaseDocument third;
    third.keepRecoveryIn(dir.path());
    const QString said = third.restoreRecovery();
    QVERIFY2(said.contains(junk.fileName()) && said.contains("set aside"), qPrintable(said));
    QVERIFY(third.file() == io::startupCaseFile() && !third.isModified());
}

using Gesture = std::function<void(MainWindow&)>;
Q_DECLARE_METATYPE(Gesture)

void tst_Undo::everyChangeIsUndoneAndRedone_data() {
    QTest::addColumn<Gesture>("setup"); // before the change, as if saved
    QTest::addColumn<Gesture>("gesture");
    QTest::addColumn<QString>("undo"); // the Undo action's text
    const Gesture none = [](MainWindow&) {};
    const auto type = [](int i, const char* text) {
        return [=](MainWindow& w) {
            QLineEdit* box = w.panel()->txtInput(i);
            box->setFocus();
            box->selectAll();
            QTest::keyClicks(box, text);
        };
    };
    const auto click = [](const char* name) {
        return [=](MainWindow& w) { w.findChild<QAbstractButton*>(name)->click(); };
    };
    const auto trigger = [](const char* name) {
        return [=](MainWindow& w) { w.findChild<QAction*>(name)->trigger(); };
    };
    QTest::newRow("typing, one step a box")
        << none << Gesture(type(2, "1500")) << "Undo Typing in Vehicle Mass (kg)";
    QTest::newRow("spinner steps") << none << Gesture([](MainWindow& w) {
        for (int k = 0; k < 3; ++k)
            w.panel()->scrSelect(6)->bar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    }) << "Undo Step Initial Speed (m/s)";
    QTest::newRow("tick") << none << Gesture(click("chkWheel(2)"))
                          << "Undo Change Connect Plot Pixels: front right wheel";
    QTest::newRow("Auto") << none << Gesture(click("chkSnap")) << "Undo Change Auto SnapShot";
    QTest::newRow("vehicle") << none << Gesture([](MainWindow& w) {
        QComboBox* list = w.panel()->comVehicle();
        list->setCurrentIndex(list->findText("Imaginery Car"));
        emit list->activated(list->currentIndex());
    }) << "Undo Choose Vehicle";
    QTest::newRow("Calculate normal driving")
        << Gesture(type(9, "40")) << Gesture(click("cmdNormal")) << "Undo Calculate Normal Driving";
    QTest::newRow("Calculate the inertia")
        << Gesture(type(2, "900")) << Gesture(click("cmdInertia"))
        << "Undo Calculate Moment of Inertia";
    QTest::newRow("Reset") << Gesture(type(0, "9")) << Gesture(trigger("mnuReset"))
                           << "Undo Reset All Variables";
    QTest::newRow("Options") << none << Gesture([](MainWindow& w) {
        w.findChild<QAction*>("mnuOption")->trigger();
        auto* o = w.findChild<OptionsDialog*>();
        o->optGyrate()->setChecked(true);
        o->cmdOK()->click();
    }) << "Undo Use the Radius of Gyration";
    QTest::newRow("Apply Fit") << none << Gesture([](MainWindow& w) {
        w.findChild<QAction*>("mnuFitMarks")->trigger();
        model::BoxTexts texts = w.panel()->texts();
        texts.text[model::kSpeedBox] = "25.1234";
        emit w.findChild<FitDialog*>()->applied(texts, false, {{sim::RL, {{0, 1}}}});
    }) << "Undo Apply Fit";
    QTest::newRow("Spread...") << none << Gesture([](MainWindow& w) {
        QLineEdit* box = w.panel()->txtInput(model::kFrictionBox);
        emit box->customContextMenuRequested({});
        box->findChild<QAction*>("mnuSpread")->trigger();
        box->findChild<QMenu*>()->close();
        auto* d = w.findChild<SpreadDialog*>();
        QVERIFY(d);
        auto* sd = d->findChild<QLineEdit*>("txtSpread1");
        sd->setText("0.5"); // draws below 0: refused, the box named, nothing changed
        d->accept();
        QVERIFY(d->findChild<QLabel*>("lblSpreadProblem")->text().startsWith("\"Tire") &&
                !w.isWindowModified());
        sd->setText("0.05");
        d->accept();
    }) << "Undo Set Spread of Tire Coefficient of Kinetic Friction";
    QTest::newRow("Clear Spread") << Gesture([=](MainWindow& w) {
        w.document().setSpread(model::kMassBox, model::Spread{model::Shape::Uniform, 1, 2});
        type(0, "4.3")(w); // a change of the boxes keeps the spreads
    }) << Gesture([](MainWindow& w) { emit w.panel()->spreadCleared(model::kMassBox); })
                                  << "Undo Clear Spread of Vehicle Mass (kg)";
    QTest::newRow("Import Tyre Marks") << none << Gesture([](MainWindow& w) {
        static QTemporaryFile csv;
        QVERIFY(csv.open() && csv.write("RL,1,2\nRL,2,3\n") && csv.flush());
        w.prompts().setFileHook(
            [](const QString&, const QString&, bool) { return csv.fileName(); });
        QVERIFY(w.files().importMarks());
    }) << "Undo Import Tyre Marks";
}

void tst_Undo::everyChangeIsUndoneAndRedone() {
    QFETCH(Gesture, setup);
    QFETCH(Gesture, gesture);
    QFETCH(QString, undo);
    auto w = window();
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    setup(*w);
    w->document().undoStack()->setClean();
    const auto shown = [&] { // the case as the window shows it
        io::CaseFile f = w->panel()->caseFile();
        f.autoSnapshot = w->findChild<QCheckBox*>("chkSnap")->isChecked();
        f.marks = w->document().file().marks;
        // The spreads as the boxes' corner marks show them.
        for (int i = 0; i < model::kBoxCount; ++i)
            if (auto* m = w->findChild<QWidget*>(QStringLiteral("spreadMark(%1)").arg(i)))
                f.spreads[i] =
                    m->isVisibleTo(w.get()) ? w->document().file().spreads[i] : std::nullopt;
        return f;
    };
    const io::CaseFile before = shown();
    gesture(*w);
    const io::CaseFile after = shown();
    QVERIFY(!(after == before) && after == w->document().file() && w->isWindowModified());
    QAction* undoAction = w->findChild<QAction*>("mnuUndo");
    QCOMPARE(undoAction->text(), undo);
    QCOMPARE(w->document().undoStack()->index(), w->document().undoStack()->cleanIndex() + 1);
    undoAction->trigger();
    QVERIFY(shown() == before && !w->isWindowModified());
    QTest::keyClick(w.get(), Qt::Key_Y, Qt::ControlModifier); // Redo
    QVERIFY(shown() == after && w->isWindowModified());
    QTest::keyClick(w.get(), Qt::Key_Z, Qt::ControlModifier); // Undo
    QVERIFY(shown() == before);
}

void tst_Undo::anUntitledCaseSurvivesClosing() {
    QTemporaryDir dir;
    auto w = window(dir.path());
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w.get()));
    QLineEdit* speed = w->panel()->txtInput(model::kSpeedBox);
    speed->setFocus();
    speed->selectAll();
    QTest::keyClicks(speed, "25");
    // While the box has the focus, Ctrl+Z undoes the typing in it, as a text box does.
    QTest::keyClick(speed, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(speed->text() == "20" && !w->isWindowModified());
    QTest::keyClick(speed, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(speed->text() == "25" && w->isWindowModified());
    // In a box with no typing of its own to undo, the keys go to Edit > Undo and Redo.
    QLineEdit* direction = w->panel()->txtInput(model::kSpeedBox + 1);
    direction->setFocus();
    QTest::keyClick(direction, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(speed->text() == "20" && !w->isWindowModified());
    QTest::keyClick(direction, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(speed->text() == "25" && w->isWindowModified());
    QVERIFY(w->close());
    w.reset();              // the program ends
    w = window(dir.path()); // the next start
    QCOMPARE(w->panel()->txtInput(model::kSpeedBox)->text(), "25");
    QVERIFY(w->isWindowModified() && w->document().path().isEmpty());
    QCOMPARE(w->findChild<QLabel*>("lblNote")->text(),
             "Restored the unsaved case from your last session.");
    // Nothing to undo in a restored case; New drops it, and closing leaves nothing to restore.
    QVERIFY(!w->document().undoStack()->canUndo());
    w->findChild<QAction*>("mnuNew")->trigger();
    QVERIFY(!w->isWindowModified());
    QVERIFY(w->close());
    w.reset();
    w = window(dir.path());
    QVERIFY(!w->isWindowModified() && w->findChild<QLabel*>("lblNote")->text().isEmpty());
}

QTEST_MAIN(tst_Undo)
#include "tst_undo.moc"
