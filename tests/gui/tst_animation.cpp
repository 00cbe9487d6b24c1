// SPDX-License-Identifier: MIT
// File > Export Animation...: its wiring to the run's record, the GIF it
// writes, Cancel, and the values it refuses before anything is written.
#include "gui/AnimationDialog.h"
#include "gui/MainWindow.h"
#include "gui/ParameterPanel.h"
#include "gui/RunController.h"

#include <QtTest>
#include <QtWidgets>

#include <optional>

using namespace yawmark;

class tst_Animation : public QObject {
    Q_OBJECT
private slots:
    void init();
    void exportsTheRunAsItWasAsked();
    void cancelKeepsTheOldFile();
    void refusesBeforeWriting_data();
    void refusesBeforeWriting();

private:
    // The default skid drawn to rest (3.52 s), the dialog opened on it and set
    // to 64x48 pixels, 10 frames a second at twice real time, into "a.gif".
    void openOnARun() {
        QAction* action = w_->findChild<QAction*>("mnuExportAnimation");
        QVERIFY(action && !action->isEnabled());
        w_->findChild<QPushButton*>("cmdDraw")->click();
        QTRY_COMPARE(w_->runs().phase(), model::Phase::AtRest);
        action->trigger();
        d_ = w_->findChild<AnimationDialog*>();
        QVERIFY(d_);
        set("txtSize", "64x48"), set("txtFps", "10"), set("txtSpeed", "2");
        set("txtFile", dir_->filePath("a"));
    }
    void set(const char* field, const QString& text) {
        d_->findChild<QLineEdit*>(field)->setText(text);
    }
    void click(const char* button) { d_->findChild<QPushButton*>(button)->click(); }

    std::unique_ptr<MainWindow> w_;
    AnimationDialog* d_ = nullptr;
    std::optional<QTemporaryDir> dir_;
};

void tst_Animation::init() {
    dir_.emplace();
    w_ = std::make_unique<MainWindow>();
    w_->findChild<QTimer*>("Timer1")->stop(); // no splash
    w_->setMessageHook([](QWidget*, const QString&, const QString&) {});
    w_->show();
}

void tst_Animation::exportsTheRunAsItWasAsked() {
    openOnARun();
    if (QTest::currentTestFailed()) return;
    QSignalSpy ended(d_, &AnimationDialog::exportEnded);
    click("cmdExport");
    // A new, shorter run started at once leaves the animation its own run.
    w_->panel()->txtInput(6)->setText("5");
    w_->findChild<QPushButton*>("cmdDraw")->click();
    QVERIFY(ended.wait(60000));
    QImageReader gif(dir_->filePath("a.gif"));
    QCOMPARE(gif.size(), QSize(64, 48));
    // Frames at 0, 0.2, ... 3.4 simulated seconds, and one of the car at rest.
    QCOMPARE(gif.imageCount(), 19);
}

void tst_Animation::cancelKeepsTheOldFile() {
    openOnARun();
    if (QTest::currentTestFailed()) return;
    QFile old(dir_->filePath("a.gif"));
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
    old.close();
    set("txtSize", "100x75"), set("txtFps", "50"), set("txtSpeed", "0.01"); // 17,602 frames
    QSignalSpy ended(d_, &AnimationDialog::exportEnded);
    click("cmdExport");
    QVERIFY(d_->running());
    click("cmdCancel");
    QVERIFY(ended.wait(60000));
    QVERIFY(old.open(QIODevice::ReadOnly) && old.readAll() == "old");
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList{"a.gif"});
}

void tst_Animation::refusesBeforeWriting_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named"); // in the refusal
    const auto row = [](const char* name, const char* field, const char* text, const char* named) {
        QTest::newRow(name) << field << text << named;
    };
    row("no size", "txtSize", "0x48", "Size");
    row("too wide", "txtSize", "8193x10", "Size");
    row("no frames", "txtFps", "0", "Frame rate");
    row("too many frames a second", "txtFps", "51", "Frame rate");
    row("too slow", "txtSpeed", "0.009", "Speed factor");
    row("too fast", "txtSpeed", "101", "Speed factor");
    row("not a number", "txtSpeed", "nan", "Speed factor");
    row("past 200 MB", "txtSize", "4000x4000", "200 MB"); // 19 frames of 16 Mpx
}

void tst_Animation::refusesBeforeWriting() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(QString, named);
    openOnARun();
    if (QTest::currentTestFailed()) return;
    set(field.toLatin1().constData(), text);
    click("cmdExport");
    QVERIFY(!d_->running());
    QVERIFY(d_->findChild<QLabel*>("lblAnimationNote")->text().contains(named));
    QVERIFY(!QFile::exists(dir_->filePath("a.gif")));
}

QTEST_MAIN(tst_Animation)
#include "tst_animation.moc"
