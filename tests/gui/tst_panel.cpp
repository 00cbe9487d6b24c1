// SPDX-License-Identifier: MIT
// The parameter panel in the main window, wired to its model: the box table
// and its spinners, the vehicle list, "Center", the Calculate buttons (results, or the
// box in the way named), Options switching box 5, Reset.
#include "gui/MainWindow.h"
#include "gui/OptionsDialog.h"
#include "gui/ParameterPanel.h"
#include "gui/RunController.h"
#include "gui/Spinner.h"
#include "model/BoxTable.h"
#include "sim/NumberText.h"

#include <QtTest>
#include <QtWidgets>

using namespace yawmark;
using model::InertiaForm;

namespace {
QString qs(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
const QString kStartInertia = QStringLiteral("2061.25779166667");
const QStringList kMcLaren{"4.29", "1.82", "1139", "58.8", "0.896057347670251", kStartInertia};
} // namespace

class tst_Panel : public QObject {
    Q_OBJECT
private slots:
    void init();
    void controlsFollowTheBoxTable_data();
    void controlsFollowTheBoxTable();
    void vehicleListAndCenter();
    void calculate_data();
    void calculate();
    void optionsAndReset();

private:
    QLineEdit* box(int i) const { return p_->txtInput(i); }
    QStringList texts(int count = model::kBoxCount) const {
        QStringList t;
        for (int i = 0; i < count; ++i)
            t << box(i)->text();
        return t;
    }
    void type(int i, const QString& text) {
        box(i)->selectAll();
        QTest::keyClicks(box(i), text);
    }
    // A click on an arrow of spinner i.
    void step(int i, bool up) {
        p_->scrSelect(i)->bar()->triggerAction(up ? QAbstractSlider::SliderSingleStepSub
                                                  : QAbstractSlider::SliderSingleStepAdd);
    }
    OptionsDialog* options(InertiaForm form) {
        w_->findChild<QAction*>("mnuOption")->trigger();
        OptionsDialog* o = nullptr; // the open one: a closed one may not be deleted yet
        for (OptionsDialog* d : w_->findChildren<OptionsDialog*>())
            if (d->isVisible()) o = d;
        (form == InertiaForm::Gyration ? o->optGyrate() : o->optValue())->setChecked(true);
        return o;
    }

    std::unique_ptr<MainWindow> w_;
    ParameterPanel* p_ = nullptr;
    QStringList messages_;
};

void tst_Panel::init() {
    if (w_) delete w_->findChild<OptionsDialog*>();
    w_ = std::make_unique<MainWindow>();
    w_->findChild<QTimer*>("Timer1")->stop(); // no splash
    p_ = w_->panel();
    messages_.clear();
    w_->setMessageHook([this](QWidget*, const QString&, const QString& m) { messages_ << m; });
    // Enter presses Draw: the run is paused after its first pass.
    connect(&w_->runs(), &RunController::passed, w_.get(), [this] { w_->runs().togglePause(); });
    w_->show();
    w_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
}

void tst_Panel::controlsFollowTheBoxTable_data() {
    QTest::addColumn<int>("i");
    QTest::addColumn<bool>("gyration");
    QTest::addColumn<int>("clicks");    // on the spinner's arrows; positive: up
    QTest::addColumn<QString>("texts"); // the start, then the text after each click
    for (int i = 0; i < model::kBoxCount; ++i)
        QTest::addRow("box %d", i) << i << false << 1 << QString();
    QTest::newRow("box 5 as a radius of gyration") << 5 << true << 1 << QString();
    QTest::newRow("steering up") << 8 << false << 3 << "Left Right Center Left";
    QTest::newRow("steering down") << 8 << false << -3 << "Left Center Right Left";
    QTest::newRow("steering, not a word") << 8 << false << 1 << "sideways sideways";
    QTest::newRow("down to 0, its range's end") << 18 << false << -2 << "0.0001 0 0";
    QTest::newRow("not a number") << 0 << false << 1 << "4.2x 4.2x";
}

void tst_Panel::controlsFollowTheBoxTable() {
    QFETCH(int, i);
    QFETCH(bool, gyration);
    QFETCH(int, clicks);
    QFETCH(QString, texts);
    const InertiaForm form = gyration ? InertiaForm::Gyration : InertiaForm::Moment;
    if (gyration) options(form)->cmdOK()->click();
    const model::BoxInfo& info = model::boxInfo(i, form);
    // Screen readers and scripts find the box and the spinner's inner bar by the caption.
    const QString cap = qs(info.caption), tip = qs(info.tooltip);
    QCOMPARE(
        (QStringList{p_->boxCaption(i)->text(), p_->boxCaption(i)->toolTip(), box(i)->toolTip(),
                     box(i)->accessibleName(), p_->scrSelect(i)->bar()->accessibleName()}),
        (QStringList{cap, tip, box(i)->text() + "\n" + tip, cap, cap}));
    QCOMPARE(p_->scrSelect(i)->smallChange(), info.step);
    for (QWidget* w : QWidgetList{box(i), p_->scrSelect(i), p_->boxCaption(i)})
        QVERIFY(p_->widget(static_cast<int>(info.tab))->isAncestorOf(w));
    // Without texts: the up arrow adds one step, in the box's units, to the box's own text.
    const auto x = parseNumber(box(i)->text().toStdString());
    const QStringList expected =
        !texts.isEmpty()
            ? texts.split(QLatin1Char(' '))
            : QStringList{box(i)->text(), info.divisor ? QString::fromStdString(formatNumber(
                                                             *x + double(info.step) / info.divisor))
                                                       : QStringLiteral("Right")};
    box(i)->setText(expected[0]);
    QStringList seen{box(i)->text()};
    for (int k = 0; k < std::abs(clicks); ++k, seen << box(i)->text())
        step(i, clicks > 0);
    QCOMPARE(seen, expected);
    QCOMPARE(p_->scrSelect(i)->value(), 0);
    // Ten characters show whole (not scrolled for the cursor at their end); a box left for
    // another control shows its text from the start.
    box(i)->setText(QStringLiteral("<b>1")); // shown as typed, not as markup
    QVERIFY(box(i)->toolTip().contains(QStringLiteral("&lt;b&gt;1")));
    box(i)->setText(QStringLiteral("-0.1872411"));
    int edge[2];
    for (int end : {0, 1}) {
        box(i)->setCursorPosition(end * 10);
        edge[end] = (box(i)->grab(), box(i)->inputMethodQuery(Qt::ImCursorRectangle).toRect().x());
    }
    QCOMPARE(edge[1] - edge[0], box(i)->fontMetrics().horizontalAdvance(box(i)->text()));
    p_->setCurrentIndex(static_cast<int>(info.tab));
    box(i)->setFocus();
    p_->tabBar()->setFocus();
    QCOMPARE(box(i)->cursorPosition(), 0);
}

void tst_Panel::vehicleListAndCenter() {
    QComboBox* list = p_->comVehicle();
    // A name typed into the list, then Enter, is no choice.
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClicks(list, QStringLiteral("Imaginery Car"));
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(box(0)->text(), QStringLiteral("4.29"));
    // A choice fills boxes 0 to 4; an edit of boxes 0 to 3 (not 4) makes the car "Custom".
    for (int i : {4, 0, 1, 2, 3}) {
        QCoreApplication::processEvents(); // an ended edit of the list's text is done
        list->setCurrentIndex(1);
        QTest::keyClick(list, Qt::Key_Down); // the second car, chosen with the arrow keys
        QCOMPARE(texts(5), (QStringList{"7", "2", "4000", "30", "0.8"}));
        type(i, QStringLiteral("5"));
        QCOMPARE(list->currentText(), i == 4 ? QStringLiteral("Imaginery Car") : "Custom");
    }

    // Steering straight ahead, box 9 and its spinner (the turning radius) do not matter.
    const auto radius = [this] { return box(9)->isEnabled() + p_->scrSelect(9)->isEnabled(); };
    type(8, QStringLiteral("Center"));
    QCOMPARE(radius(), 0);
    step(8, false);
    QCOMPARE(radius(), 2);
}

void tst_Panel::calculate_data() {
    QTest::addColumn<bool>("normal"); // which Calculate: normal driving, or the inertia
    QTest::addColumn<int>("i");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("result");       // the box written, or -1 for a refusal
    QTest::addColumn<QString>("expected"); // its text, or the message
    QTest::newRow("normal driving, steering right")
        << true << 8 << "Right" << 12 << "0.187241109519877";
    QTest::newRow("inertia, with the width typed") << false << 5 << "1" << 5 << "2126.52249166667";
    QTest::newRow("normal driving, the speed in km/h")
        << true << 6 << "72 km/h" << 12 << "-0.187241109519877";
    QTest::newRow("refused: out of range")
        << true << 3 << "588" << -1 << "\"Weight Distribution (% Rear)\" must be from 0 to 100.";
    QTest::newRow("refused: empty, on the Graph tab")
        << false << 17 << "" << -1 << "\"Starting Position - Y\" is empty: a number is needed.";
}

void tst_Panel::calculate() {
    QFETCH(bool, normal);
    QFETCH(int, i);
    QFETCH(QString, text);
    QFETCH(int, result);
    QFETCH(QString, expected);
    box(i)->setText(text);
    box(1)->setText(QStringLiteral("2")); // typed, not yet read
    box(11)->setText(QStringLiteral("12"));
    const QStringList before = texts();
    (normal ? p_->cmdNormal() : p_->cmdInertia())->click();
    QCOMPARE(messages_, result < 0 ? QStringList{expected} : QStringList());
    QCOMPARE(p_->currentCase().car.width, result < 0 ? 1.82 : 2.0);
    if (result < 0) { // refused: the box named, shown, focused and selected; nothing is read
        QCOMPARE(texts(), before);
        QCOMPARE(p_->currentIndex(), static_cast<int>(model::boxInfo(i).tab));
        QVERIFY(w_->focusWidget() == box(i) && box(i)->selectedText() == text);
    } else {
        QCOMPARE(box(result)->text(), expected);
        QCOMPARE(box(11)->text(), normal ? QStringLiteral("0") : QStringLiteral("12"));
    }
}

void tst_Panel::optionsAndReset() {
    // No radius of gyration that a double holds: the dialog stays open, and
    // the window takes no input while it is.
    type(2, QStringLiteral("1E-10"));
    type(5, QStringLiteral("1E+300"));
    p_->cmdNormal()->click();
    OptionsDialog* o = options(InertiaForm::Gyration);
    o->cmdOK()->click();
    QCOMPARE(messages_,
             QStringList{"\"Vehicle Mass (kg)\" is too small for a radius of gyration."});
    QVERIFY(o->isVisible() && QApplication::activeModalWidget() == o &&
            p_->inertiaForm() == InertiaForm::Moment);
    QCOMPARE(box(5)->text(), QStringLiteral("1E+300"));
    QTest::keyClick(o, Qt::Key_Escape); // cancels
    QTRY_VERIFY(!w_->findChild<OptionsDialog*>() && !QApplication::activeModalWidget());
    type(5, kStartInertia);
    // OK: box 5 as the radius of gyration of the inertia last read, and back.
    type(2, QStringLiteral("1139"));
    p_->cmdNormal()->click();
    options(InertiaForm::Gyration)->cmdOK()->click();
    QCOMPARE(p_->inertiaForm(), InertiaForm::Gyration);
    QCOMPARE(box(5)->text(), QStringLiteral("1.3452540032772"));
    type(2, QStringLiteral("1000"));
    p_->cmdNormal()->click();
    QTest::keyClick(options(InertiaForm::Moment), Qt::Key_Return); // OK is the default
    QTRY_VERIFY(!w_->findChild<OptionsDialog*>());
    QCOMPARE(box(5)->text(), QStringLiteral("1809.70833333333"));
    // Reset: the start-up boxes, the vehicle they describe, box 5 as the moment of inertia.
    options(InertiaForm::Gyration)->cmdOK()->click();
    type(0, QStringLiteral("9"));
    w_->findChild<QAction*>("mnuReset")->trigger();
    QCOMPARE(p_->comVehicle()->currentText(), QStringLiteral("McLaren F1"));
    QCOMPARE(p_->boxCaption(5)->text(), qs(model::boxInfo(5).caption));
    QCOMPARE(texts(6), kMcLaren);
}

QTEST_MAIN(tst_Panel)
#include "tst_panel.moc"
