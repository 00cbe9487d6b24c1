// The parameter panel at work on a window's parameters: start-up and reset,
// the spinners stepping their boxes, the vehicle list and its presets, the
// two "Calculate" buttons and the Options dialog for box 5.
#include "gui/ParameterPanel.h"
#include "gui/Spinner.h"
#include "gui/frmOption.h"
#include "sim/Params.h"
#include "sim/RunState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>

#include <cmath>

using namespace yawmark;

namespace {

// clang-format off
const char* const kStartTexts[19] = {
    "4.29", "1.82", "1139", "58.8", "0.896057347670251", "2061.25779166667", "20", "0", "Left",
    "17", "9.8", "0", "-0.187241109519877", "10", "400", "1", "0", "0", "0.0001"};
// clang-format on
const QString kInertia = QStringLiteral("Moment of Inertia (kg-m^2)");
const QString kInertiaTip =
    QStringLiteral("1000 lb-ft-sec^2 = 1355.8 kg-m^2    Must be non-zero.  Can be negative.");

} // namespace

class PanelBehaviourTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void startUpAndResetAfterEdits();

    void spinnerSteps_data();
    void spinnerSteps();
    void steeringByKeyboardAndCenter();

    void customSwitch();
    void presetsFillOnlyTheVehicleBoxes();
    void typingInTheVehicleListLoadsNothing();

    void calculateResults();
    void calculateRefusals_data();
    void calculateRefusals();

    void optionsOkSwitchesBox5BothWays();
    void optionsCancelAndCloseBoxDiscard();
    void optionsRefusesARadiusWithNoRealValue();

private:
    QLineEdit* box(int i) const { return panel_->txtInput(i); }
    QString text(int i) const { return panel_->txtInput(i)->text(); }
    bool radiusEnabled() const { return box(9)->isEnabled() && panel_->scrSelect(9)->isEnabled(); }
    // What the user does: a typed text replacing the box's.
    void type(int i, const QString& s) {
        box(i)->selectAll();
        QTest::keyClicks(box(i), s);
    }
    // A real click on the upper (up) or lower (down) arrow of a spinner.
    void click(int i, bool up) {
        panel_->setCurrentIndex(ParameterPanel::tabOfBox(i));
        Spinner* s = panel_->scrSelect(i);
        QTest::mouseClick(s->bar(), Qt::LeftButton, {},
                          QPoint(s->width() / 2, up ? 2 : s->height() - 3));
    }
    QString vehicle() const { return panel_->comVehicle()->currentText(); }
    void chooseVehicle(int index) {
        panel_->comVehicle()->setCurrentIndex(index);
        panel_->comVehicle_Click();
    }
    // What start-up and reset both leave: the texts of all boxes, the check
    // boxes off, box 9 enabled, the list on the car the boxes describe.
    void checkStartUpBoxes() {
        for (int i = 0; i < 19; ++i) {
            QCOMPARE(text(i), QString::fromLatin1(kStartTexts[i]));
            QCOMPARE(panel_->scrSelect(i)->value(), 0);
        }
        for (int w = 0; w < 5; ++w)
            QCOMPARE(panel_->chkWheel(w)->checkState(), Qt::Unchecked);
        QVERIFY(radiusEnabled());
        QCOMPARE(vehicle(), QStringLiteral("McLaren F1"));
        QVERIFY(!panel_->presetLoading());
    }
    // Box 5 in its moment-of-inertia form: caption, tooltips, spinner step.
    void checkInertiaForm() {
        QCOMPARE(panel_->lblCaption(5)->text(), kInertia);
        QCOMPARE(panel_->lblCaption(5)->toolTip(), kInertiaTip);
        QCOMPARE(box(5)->toolTip(), kInertiaTip);
        QCOMPARE(panel_->scrSelect(5)->smallChange(), 5000);
    }
    // The Options dialog opened, the given option chosen.
    frmOption* openOptions(bool gyration) {
        frmOption* o = frmOption::showOptions(window_, *panel_);
        (gyration ? o->optGyrate : o->optValue)->setChecked(true);
        return o;
    }

    Params params_;
    RunState state_;
    QWidget* window_ = nullptr;
    ParameterPanel* panel_ = nullptr;
    QStringList messages_;
};

void PanelBehaviourTest::init() {
    params_ = Params{};
    state_ = RunState{};
    messages_.clear();
    window_ = new QWidget;
    window_->resize(300, 340);
    panel_ = new ParameterPanel(window_);
    panel_->attach(params_, state_);
    panel_->setMessageHook([this](QWidget*, const QString&, const QString& m) { messages_ << m; });
    panel_->Form_Load();
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_));
}

void PanelBehaviourTest::cleanup() {
    delete frmOption::existing();
    delete window_;
    window_ = nullptr;
}

void PanelBehaviourTest::startUpAndResetAfterEdits() {
    checkStartUpBoxes();
    QCOMPARE(box(3)->cursorPosition(), 0); // a written number shows from its first digit
    QVERIFY(panel_->autoCalculate().normal && panel_->autoCalculate().inertia);
    QCOMPARE(state_.omega, 20.0 / 17.0);
    QVERIFY(std::abs(params_.momentInertia - 2061.2577916666664) < 1e-9);

    // A user who changed a bit of everything: the other car, typed boxes,
    // a non-number, steering straight, a joined trail, radius of gyration.
    chooseVehicle(2);
    openOptions(true)->cmdOK_Click();
    type(1, QStringLiteral("3"));
    type(6, QStringLiteral("fast"));
    type(14, QStringLiteral("1000"));
    type(8, QStringLiteral("Center"));
    panel_->chkWheel(3)->setChecked(true);
    panel_->chkInertia()->setChecked(false);
    QCOMPARE(vehicle(), QStringLiteral("Custom"));

    panel_->mnuReset_Click();
    checkStartUpBoxes();
    // The list and box 5 describe what the boxes now hold.
    QVERIFY(!params_.useGyration);
    QCOMPARE(panel_->comVehicle()->currentIndex(), 1);
    checkInertiaForm();
    // The "Auto Calculate" boxes are design state, not parameters.
    QVERIFY(!panel_->chkInertia()->isChecked());
    // The boxes read back after the reset give the start-up values.
    click(5, true);
    QCOMPARE(text(5), QStringLiteral("2111.25779166667"));
}

void PanelBehaviourTest::spinnerSteps_data() {
    QTest::addColumn<int>("i");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("clicks"); // positive: up arrow, negative: down arrow
    QTest::addColumn<QString>("expected");
    auto row = [](const char* name, int i, const char* start, int clicks, const char* expected) {
        QTest::newRow(name) << i << QString::fromLatin1(start) << clicks
                            << QString::fromLatin1(expected);
    };
    row("0 ten up, no drift", 0, "4.29", 10, "5.29");
    row("4 up", 4, "0.896057347670251", 1, "0.946057347670251");
    row("5 moment of inertia", 5, "2061.25779166667", -1, "2011.25779166667");
    row("18 down to 0", 18, "0.0001", -1, "0");
    row("18 through 0", 18, "0.0001", -2, "-0.0001");
    row("typed blanks and exponent", 9, " 1.7e1 ", 1, "18");
    row("not a number", 0, "4.2x", 1, "4.2x");
    row("8 up round", 8, "Left", 3, "Left");
    row("8 lower case", 8, "left", 1, "left");
}

void PanelBehaviourTest::spinnerSteps() {
    QFETCH(int, i);
    QFETCH(QString, start);
    QFETCH(int, clicks);
    QFETCH(QString, expected);
    box(i)->setText(start);
    for (int k = 0; k < std::abs(clicks); ++k) {
        click(i, clicks > 0);
        QCOMPARE(panel_->scrSelect(i)->value(), 0);
    }
    QCOMPARE(text(i), expected);
    QVERIFY(messages_.isEmpty()); // a box that holds no number just does not step
}

void PanelBehaviourTest::steeringByKeyboardAndCenter() {
    // The spinners of boxes 8 and 10 take the focus and step with the arrow keys.
    panel_->setCurrentIndex(ParameterPanel::InitialConditionsTab);
    QScrollBar* steering = panel_->scrSelect(8)->bar();
    panel_->scrSelect(8)->setFocus();
    QVERIFY(steering->hasFocus());
    QTest::keyClick(steering, Qt::Key_Up);
    QCOMPARE(text(8), QStringLiteral("Right"));
    QTest::keyClick(steering, Qt::Key_Up);
    // "Center" disables box 9 and its spinner; the box keeps its text.
    QCOMPARE(text(8), QStringLiteral("Center"));
    QVERIFY(!box(9)->isEnabled() && !panel_->scrSelect(9)->isEnabled());
    QCOMPARE(text(9), QStringLiteral("17"));
    QTest::keyClick(steering, Qt::Key_Down);
    QCOMPARE(text(8), QStringLiteral("Right"));
    QVERIFY(radiusEnabled());
    QCOMPARE(panel_->scrSelect(8)->value(), 0);
    type(8, QStringLiteral("Center"));
    QVERIFY(!box(9)->isEnabled());
    type(8, QStringLiteral("Cent"));
    QVERIFY(radiusEnabled());

    panel_->scrSelect(10)->setFocus();
    QTest::keyClick(panel_->scrSelect(10)->bar(), Qt::Key_Down);
    QCOMPARE(text(10), QStringLiteral("9.7"));
    QCOMPARE(panel_->scrSelect(10)->value(), 0);
}

void PanelBehaviourTest::customSwitch() {
    // Edits of the vehicle boxes, which end with 3, typed or stepped, after a preset.
    for (const auto& [i, bySpinner] : {std::pair{0, false}, {3, true}, {4, false}, {4, true}}) {
        chooseVehicle(2);
        if (bySpinner)
            click(i, true);
        else
            type(i, QStringLiteral("5"));
        QCOMPARE(vehicle(), i <= 3 ? QStringLiteral("Custom") : QStringLiteral("Imaginery Car"));
        // Whatever the list shows, what the user typed stays.
        if (!bySpinner) QCOMPARE(text(i), QStringLiteral("5"));
    }
}

void PanelBehaviourTest::presetsFillOnlyTheVehicleBoxes() {
    // Typed, unread text everywhere else, a non-number included.
    for (int i = 5; i < 19; ++i)
        box(i)->setText(i == 11 ? QStringLiteral("not read yet") : QStringLiteral("%1.5").arg(i));
    const BoxTexts before = panel_->texts();
    panel_->chkWheel(2)->setChecked(true);
    const double inertia = params_.momentInertia;

    chooseVehicle(2);
    const QStringList imaginary{"7", "2", "4000", "30", "0.8"};
    for (int i = 0; i < 19; ++i)
        QCOMPARE(text(i), i < 5 ? imaginary[i] : QString::fromStdString(before.txtInput[i]));
    QVERIFY(panel_->chkWheel(2)->isChecked());
    QCOMPARE(vehicle(), QStringLiteral("Imaginery Car"));
    QCOMPARE(params_.vehicleMass, 4000.0);
    QCOMPARE(params_.frontShare, 0.7);
    QCOMPARE(params_.momentInertia, inertia); // derived only by "Calculate"

    type(0, QStringLiteral("9")); // now "Custom"; choosing it changes nothing
    chooseVehicle(0);
    QCOMPARE(text(0), QStringLiteral("9"));
    QCOMPARE(params_.wheelbaseLength, 7.0);

    chooseVehicle(1);
    for (int i = 0; i < 5; ++i)
        QCOMPARE(text(i), QString::fromLatin1(kStartTexts[i]));
    QCOMPARE(params_.kineticFriction, 10 / 11.16);
    QVERIFY(!panel_->presetLoading());
}

void PanelBehaviourTest::typingInTheVehicleListLoadsNothing() {
    QComboBox* list = panel_->comVehicle();
    list->setFocus();
    list->lineEdit()->selectAll();
    QTest::keyClicks(list, QStringLiteral("Imaginery Car"));
    QTest::keyClick(list, Qt::Key_Return);
    box(0)->setFocus(); // leaving the field is not a choice either
    QTest::qWait(1);
    QCOMPARE(text(0), QStringLiteral("4.29"));
    QCOMPARE(params_.wheelbaseLength, 4.29);
    QCOMPARE(list->count(), 3); // nothing added

    // A choice with the arrow keys is a choice: the list steps from its entry.
    list->setCurrentIndex(1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(text(0), QStringLiteral("7"));
}

void PanelBehaviourTest::calculateResults() {
    const struct {
        const char *steering, *speed, *box12;
    } cases[] = {{"Left", "20", "-0.187241109519877"},
                 {"Right", "20", "0.187241109519877"},
                 {"Center", "20", "0"},
                 {"Left", "0", "0"}};
    for (const auto& c : cases) {
        box(8)->setText(QString::fromLatin1(c.steering));
        box(6)->setText(QString::fromLatin1(c.speed));
        box(11)->setText(QStringLiteral("12"));
        box(5)->setText(QStringLiteral("1"));
        panel_->cmdNormal()->click();
        QCOMPARE(text(11), QStringLiteral("0"));
        QCOMPARE(text(12), QString::fromLatin1(c.box12));
        panel_->cmdInertia()->click();
        QCOMPARE(text(5), QStringLiteral("2061.25779166667"));
    }
    openOptions(true)->cmdOK_Click();
    box(5)->setText(QStringLiteral("1"));
    panel_->cmdInertia()->click();
    QCOMPARE(text(5), QStringLiteral("1.3452540032772"));
    QCOMPARE(vehicle(), QStringLiteral("McLaren F1")); // derived boxes are not edits
    QVERIFY(messages_.isEmpty());
}

void PanelBehaviourTest::calculateRefusals_data() {
    QTest::addColumn<bool>("gyration");
    QTest::addColumn<int>("i");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("normal"); // which "Calculate" is pressed
    QTest::addColumn<QString>("named");
    QTest::newRow("normal, no number") << false << 2 << "heavy" << true << "Vehicle Mass (kg)";
    QTest::newRow("inertia, no number") << false << 17 << "" << false << "Starting Position - Y";
    QTest::newRow("radius 0 turning left")
        << false << 9 << "0" << true << "Mass Center Turning Radius (m)";
    QTest::newRow("gyration, mass 0") << true << 2 << "0" << false << "Vehicle Mass (kg)";
    QTest::newRow("gyration, no number") << true << 5 << "1,3" << false << "Radius of Gyration (m)";
    QTest::newRow("inertia, too large") << false << 0 << "1e200" << false << "Wheelbase Length (m)";
}

void PanelBehaviourTest::calculateRefusals() {
    QFETCH(bool, gyration);
    QFETCH(int, i);
    QFETCH(QString, typed);
    QFETCH(bool, normal);
    QFETCH(QString, named);
    if (gyration) openOptions(true)->cmdOK_Click();
    box(i)->setText(typed);
    box(11)->setText(QStringLiteral("3")); // typed, not yet read
    box(1)->setText(QStringLiteral("2"));
    const BoxTexts before = panel_->texts();
    const Params paramsBefore = params_;
    const double omega = state_.omega;

    (normal ? panel_->cmdNormal() : panel_->cmdInertia())->click();
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].startsWith(QLatin1Char('"') + named + QLatin1Char('"')),
             qPrintable(messages_[0]));
    QVERIFY(panel_->texts().txtInput == before.txtInput);
    QCOMPARE(panel_->currentIndex(), int(ParameterPanel::tabOfBox(i))); // the box, ready to retype
    QVERIFY(box(i)->hasFocus());
    QCOMPARE(params_.wheelbaseWidth, paramsBefore.wheelbaseWidth); // nothing was read
    QCOMPARE(state_.omega, omega);
}

void PanelBehaviourTest::optionsOkSwitchesBox5BothWays() {
    frmOption* o = frmOption::showOptions(window_, *panel_);
    QCOMPARE(o->windowTitle(), QStringLiteral("Options"));
    QCOMPARE(o->size(), QSize(308, 117));
    QCOMPARE(o->Frame1->title(), QStringLiteral("Specify Moment of Inertia by"));
    QVERIFY(o->optValue->isChecked() && !o->optGyrate->isChecked());
    QVERIFY(!(o->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    // The main window takes no input; the dialog does; a second request brings the same one.
    QVERIFY(!window_->isEnabled());
    QVERIFY(o->isEnabled() && o->cmdOK->isEnabled());
    QCOMPARE(frmOption::showOptions(window_, *panel_), o);

    o->optGyrate->click();
    o->cmdOK->setFocus(); // Enter presses the focused button
    QTest::keyClick(o->cmdOK, Qt::Key_Return);
    QVERIFY(!frmOption::existing());
    QVERIFY(window_->isEnabled());
    QVERIFY(params_.useGyration);
    QCOMPARE(text(5), QStringLiteral("1.3452540032772"));
    QCOMPARE(panel_->lblCaption(5)->text(), QStringLiteral("Radius of Gyration (m)"));
    const QString gyrationTip =
        QStringLiteral("10 ft = 3.048 m    Must be non-zero (negative OK).  Specify by assuming "
                       "all mass concentrated this distance from mass center.");
    QCOMPARE(panel_->lblCaption(5)->toolTip(), gyrationTip);
    QCOMPARE(box(5)->toolTip(), gyrationTip);
    box(5)->setText(QStringLiteral("2"));
    click(5, true);
    QCOMPARE(text(5), QStringLiteral("2.1"));

    // A radius is read back as a moment of inertia with the mass just typed,
    // a negative one as well.
    type(2, QStringLiteral("1000"));
    box(5)->setText(QStringLiteral("-2"));
    panel_->cmdNormal_Click(); // reads the boxes, leaves the moment of inertia alone
    QCOMPARE(params_.momentInertia, 4000.0);
    // Opened again it shows the choice; OK unchanged still rewrites box 5.
    o = frmOption::showOptions(window_, *panel_);
    QVERIFY(o->optGyrate->isChecked() && !o->optValue->isChecked());
    o->cmdOK_Click();
    QCOMPARE(text(5), QStringLiteral("2"));

    openOptions(false)->cmdOK_Click();
    QVERIFY(!params_.useGyration);
    QCOMPARE(text(5), QStringLiteral("4000"));
    checkInertiaForm();
    click(5, true);
    QCOMPARE(text(5), QStringLiteral("4050"));
    QVERIFY(messages_.isEmpty());
}

void PanelBehaviourTest::optionsCancelAndCloseBoxDiscard() {
    box(5)->setText(QStringLiteral("1234"));
    for (const bool closeBox : {false, true}) {
        frmOption* o = openOptions(true);
        QVERIFY(!window_->isEnabled());
        if (closeBox)
            QVERIFY(o->close());
        else
            QTest::mouseClick(o->cmdCancel, Qt::LeftButton);
        QVERIFY(window_->isEnabled());
        QTRY_VERIFY(!frmOption::existing());
        QVERIFY(!params_.useGyration);
        QCOMPARE(text(5), QStringLiteral("1234"));
        checkInertiaForm();
    }
}

void PanelBehaviourTest::optionsRefusesARadiusWithNoRealValue() {
    box(2)->setText(QStringLiteral("-1139"));
    panel_->cmdNormal_Click(); // the mass read as negative, the moment of inertia positive
    frmOption* o = openOptions(true);
    o->cmdOK_Click();
    QCOMPARE(messages_.size(), 1);
    QVERIFY2(messages_[0].startsWith('"' + kInertia + '"'), qPrintable(messages_[0]));
    // Nothing changed, and the dialog is still there to choose again or cancel.
    QCOMPARE(frmOption::existing(), o);
    QVERIFY(!params_.useGyration);
    QCOMPARE(text(5), QStringLiteral("2061.25779166667"));
    checkInertiaForm();
    o->cmdCancel_Click();
    QVERIFY(window_->isEnabled());
}

QTEST_MAIN(PanelBehaviourTest)
#include "tst_panelbehaviour.moc"
