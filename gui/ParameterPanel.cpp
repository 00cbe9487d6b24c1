#include "gui/ParameterPanel.h"

#include "model/Boxes.h"
#include "model/Calculate.h"
#include "gui/DesignForm.h"
#include "model/FormLoad.h"
#include "model/Presets.h"
#include "gui/Spinner.h"
#include "sim/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>

#include <cmath>
#include <utility>

namespace yawmark {

namespace {

using F = DesignForm;

// One parameter row: where box and spinner stand (relative to the tab
// control, or to the frame for rows inside a frame), the spinner's arrow step
// and the caption label.
struct Row {
    int tab;
    int frame; // 0 on the tab itself, 1 in Frame1, 2 in Frame2
    int boxLeft, top;
    int barLeft;
    int smallChange;
    const char* labelName;
    int labelIndex; // -1: not an array member
    int labelLeft, labelTop, labelWidth, labelHeight;
    int labelFlags;
    const char* caption;
    const char* tooltip;
};

constexpr int kSame = -1; // label top equals the box top

const char* const kLengthTip = "10 ft = 3.048 m    Must be greater than 0.";
const char* const kStartTip = "Starting position on the x-y plane ";

// clang-format off
const Row kRows[ParameterPanel::kBoxCount] = {
    {0, 0, 2160,  960, 2760,   10, "lblCaption",  2,  495, kSame, 1605, 195, 0,
     "Wheelbase Length (m)", kLengthTip},
    {0, 0, 2160, 1320, 2760,   10, "lblCaption",  3,  570, kSame, 1530, 195, 0,
     "Wheelbase Width (m)", kLengthTip},
    {0, 0, 2160, 1680, 2760, 5000, "lblCaption", 18,  840, kSame, 1260, 195, 0,
     "Vehicle Mass (kg)",
     "1 ton = 907.18 kg on Earth.  Must be non-zero.  If opposite in sign to Moment of Inertia, "
     "produces negative Moment of Inertia."},
    {0, 0, 2160, 2040, 2760,   20, "lblCaption", 17,  120, kSame, 1980, 195, 0,
     "Weight Distribution (% Rear)",
     "All values.  Adjusts position of Center of Mass.  Keep in mind its turning radius and "
     "position are used to calculate steering angle."},
    {0, 0, 2160, 2400, 2760,    5, "lblCaption",  4,  120, kSame, 1935, 390, F::Right | F::Wrap,
     "Tire Coefficient of Kinetic Friction",
     "> 0 in real life.  Negative values reverse directions of all forces."},
    {0, 2, 2040,  720, 2640, 5000, "lblCaption",  5,  120, kSame, 1890, 195, F::Right,
     "Moment of Inertia (kg-m^2)",
     "1000 lb-ft-sec^2 = 1355.8 kg-m^2    Must be non-zero.  Can be negative."},
    {1, 0, 2160,  480, 2760,  100, "lblCaption", 25,  825, kSame, 1275, 195, F::Right,
     "Initial Speed (m/s)",
     "10 mph = 4.4704 m/s.    Must be non-zero.  Initial Speed of Center of Mass.  To back up "
     "vehicle, changing relative direction recommended."},
    {1, 0, 2160,  840, 2760,  100, "lblCaption", 24,  120, kSame, 1920, 435, F::Right | F::Wrap,
     "Initial Direction of Travel (degrees, L-/R+)",
     "Initial direction of the center of mass with respect to the y-axis"},
    {1, 0, 2160, 1320, 2760,  100, "lblCaption", 22,  120, kSame, 1965, 195, 0,
     "Steering Direction (L/R/CE)", "Direction of front wheel steering angle."},
    {1, 0, 2160, 1680, 2760,  100, "lblCaption", 21,  120,  1560, 1935, 390, F::Right | F::Wrap,
     "Mass Center Turning Radius (m)",
     "10 ft = 3.048 m    Turning Radius during normal driving.  Must be greater than distance "
     "from Center of Mass to Rear."},
    {1, 0, 2160, 2160, 2760,   10, "lblCaption", 23,  240,  2040, 1800, 495, F::Right | F::Wrap,
     "g (acceleration due to gravity) (m/s^2)", "Gravity (duh)"},
    {1, 1, 2040,  720, 2640,  100, "lblCaption", 11,  120, kSame, 1875, 390, F::Right | F::Wrap,
     "Relative direction the vehicle points at (degrees)",
     "In degrees (L-/R+)  The direction the vehicle initially points at relative to the tangent "
     "of the center of mass."},
    {1, 1, 2040, 1200, 2640,    5, "lblCaption", 12,  240, kSame, 1695, 195, F::Right,
     "Angular Velocity (turn/s)",
     "(CCW-/CW+)  Rate at which the vehicle is spinning initially."},
    {2, 0, 2160,  480, 2760,  100, "lblCaption", 20,  120, kSame, 1995, 195, F::Right,
     "Calculation Interval (ms)",
     "In milliseconds, must be greater than 0.  Smaller value gives higher resolution.  Linear "
     "interpolation calculation intervals."},
    {2, 0, 2160, 1320, 2760, 5000, "Label3",     -1,  120, kSame, 1935, 255, F::Right,
     "AutoSnapshot Interval (ms)",
     "In milliseconds, approximate only.  Select 1000 for roughly 1 snapshot per second in real "
     "world.  Applicable only if \"Auto\" is checked."},
    {2, 0, 2160, 1680, 2760,  100, "lblCaption", 19,  600, kSame, 1515, 195, F::Right,
     "Plot Pixel Size", "Must be at least 1"},
    {2, 0, 2160, 2040, 2760,  100, "lblCaption", 15,  600, kSame, 1515, 195, F::Right,
     "Starting Position - X", kStartTip},
    {2, 0, 2160, 2400, 2760,  100, "lblCaption", 16,  600, kSame, 1515, 195, F::Right,
     "Starting Position - Y", kStartTip},
    {2, 0, 2160, 2760, 2760,    1, "lblDesc",    18,  120, kSame, 1995, 255, F::Right,
     "Front Wheel Sensitivity",
     "From 0 and 1, inclusive.  Analogous to the rigidity of front wheel's steering.  A value of "
     "1 gives no-friction front wheels.  See documentation."},
};
// clang-format on

const char* const kWheelTip =
    "Connect plotted pixels.  Useful at low resolution (high calc. interval).";

// The little car seen from above, front at the top (`Shape1(1)`): a plain
// outline under the five check boxes.
class CarOutline : public QWidget {
public:
    explicit CarOutline(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// Its rear edge (`Line1`): a horizontal line 3 px wide in light cyan,
// &H00FFFF80&. The widget is the line's own band, 3 px high around it.
class RearEdge : public QWidget {
public:
    explicit RearEdge(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), QColor(0x80, 0xFF, 0xFF));
    }
};

} // namespace

ParameterPanel::ParameterPanel(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("SSTab"));
    setFont(DesignForm::font());
    setGeometry(DesignForm::rect(120, 240, 3255, 4215));
    setFixedSize(size());
    setUsesScrollButtons(false);
    // The tab strip takes the focus in its own place of the tab order; the
    // tab control must not take it a second time in its place of creation,
    // nor pass it on to the strip as its proxy (Qt then moves the whole panel
    // as one block in the tab order).
    setFocusPolicy(Qt::NoFocus);
    setFocusProxy(nullptr);
    tabBar()->setFocusPolicy(Qt::StrongFocus);

    const char* const titles[] = {"Vehicle", "Initial Conditions", "Graph"};
    for (int t = 0; t < 3; ++t) {
        page_[t] = new QWidget;
        page_[t]->setObjectName(QStringLiteral("SSTabPage%1").arg(t));
        addTab(page_[t], QString::fromLatin1(titles[t]));
    }
    buildVehicleTab(page_[VehicleTab]);
    buildInitialConditionsTab(page_[InitialConditionsTab]);
    buildGraphTab(page_[GraphTab]);
    buildRows();
    // Each link moves its second control right behind the first, so the
    // chain is laid from its start to its end in one pass.
    const QWidgetList chain = tabChain();
    for (qsizetype k = 1; k < chain.size(); ++k)
        QWidget::setTabOrder(chain[k - 1], chain[k]);
    setCurrentIndex(VehicleTab);
    placeOnPages();
    message_ = showMessageBox;
}

void ParameterPanel::buildVehicleTab(QWidget* page) {
    DesignForm f(page);
    f.label(QStringLiteral("lblVehicle"), F::rect(840, 480, 525, 255), QStringLiteral("Vehicle"));

    comVehicle_ = new QComboBox(page);
    comVehicle_->setObjectName(QStringLiteral("comVehicle"));
    comVehicle_->setEditable(true);
    comVehicle_->setInsertPolicy(QComboBox::NoInsert);
    comVehicle_->addItems(
        {QStringLiteral("Custom"), QStringLiteral("McLaren F1"), QStringLiteral("Imaginery Car")});
    comVehicle_->setCurrentIndex(1);
    comVehicle_->setEditText(QStringLiteral("McLaren F1"));
    comVehicle_->setToolTip(QStringLiteral("Nope, you cannot save your own car, sorry."));
    comVehicle_->setGeometry(F::rect(1440, 480, 1575, 315));

    frame2_ = f.frame(QStringLiteral("Frame2"), F::rect(120, 2760, 3015, 1095));
    DesignForm inFrame(frame2_);
    chkInertia_ = inFrame.checkBox(QStringLiteral("chkInertia"), F::rect(600, 240, 1335, 375),
                                   QStringLiteral("Auto Calculate"), true);
    cmdInertia_ = inFrame.button(QStringLiteral("cmdInertia"), F::rect(2040, 240, 855, 375),
                                 QStringLiteral("Calculate"));
    cmdInertia_->setToolTip(QStringLiteral("Calculate Moment of Inertia from vehicle mass by "
                                           "assuming homogeneity of mass distribution."));
}

void ParameterPanel::buildInitialConditionsTab(QWidget* page) {
    DesignForm f(page);
    frame1_ = f.frame(QStringLiteral("Frame1"), F::rect(120, 2520, 3015, 1575));
    DesignForm inFrame(frame1_);
    chkNormal_ = inFrame.checkBox(QStringLiteral("chkNormal"), F::rect(600, 240, 1335, 375),
                                  QStringLiteral("Auto Calculate"), true);
    cmdNormal_ = inFrame.button(QStringLiteral("cmdNormal"), F::rect(2040, 240, 855, 375),
                                QStringLiteral("Calculate"));
    cmdNormal_->setToolTip(QStringLiteral(
        "Calculate dynamics created by Normal Driving with no skidding, sliding or drifting.  "
        "Simulates initial condition before handbrake is applied."));
}

void ParameterPanel::buildGraphTab(QWidget* page) {
    DesignForm f(page);
    chkRealTime_ = f.checkBox(QStringLiteral("chkRealTime"), F::rect(480, 840, 2535, 255),
                              QStringLiteral("Real Time (Not Recommended)"), false);
    chkRealTime_->setToolTip(
        QStringLiteral("Tries to plot in real time by slowing down calculations.  Use if "
                       "plotting is too fast (e.g. traveling straight).  Not recommended at high "
                       "resolutions."));

    QLabel* connect = f.label(DesignForm::arrayName("Label1", 2), F::rect(240, 3480, 1815, 255),
                              QStringLiteral("Connect Plot Pixels"), F::Right);
    connect->setToolTip(QString::fromLatin1(kWheelTip));

    auto* car = new CarOutline(page);
    car->setObjectName(QStringLiteral("Shape1(1)"));
    car->setGeometry(F::rect(2280, 3240, 495, 735));
    // Line1 runs from (2280, 3960) to (2760, 3960).
    auto* rear = new RearEdge(page);
    rear->setObjectName(QStringLiteral("Line1"));
    rear->setGeometry(F::px(2280), F::px(3960) - 1, F::px(2760) - F::px(2280), 3);
    f.label(QStringLiteral("Label4"), F::rect(1680, 3840, 465, 195), QStringLiteral("Rear"),
            F::Centre);

    // Corners and centre of the car: 1 FL, 2 FR, 0 CE, 4 RL, 3 RR.
    const QRect wheelBox[kWheelCount] = {
        F::rect(2400, 3480, 255, 255), F::rect(2160, 3120, 255, 255), F::rect(2640, 3120, 255, 255),
        F::rect(2640, 3840, 255, 255), F::rect(2160, 3840, 255, 255)};
    for (int i = 0; i < kWheelCount; ++i) {
        chkWheel_[i] =
            f.checkBox(DesignForm::arrayName("chkWheel", i), wheelBox[i], QString(), false);
        chkWheel_[i]->setToolTip(QString::fromLatin1(kWheelTip));
        chkWheel_[i]->raise();
    }
}

void ParameterPanel::buildRows() {
    for (int i = 0; i < kBoxCount; ++i) {
        const Row& r = kRows[i];
        QWidget* container = r.frame == 1   ? static_cast<QWidget*>(frame1_)
                             : r.frame == 2 ? static_cast<QWidget*>(frame2_)
                                            : page_[r.tab];
        DesignForm f(container);
        const QString tip = QString::fromLatin1(r.tooltip);

        txtInput_[i] = f.textBox(DesignForm::arrayName("txtInput", i),
                                 F::rect(r.boxLeft, r.top, 615, 285), QString::number(i));
        txtInput_[i]->setToolTip(tip);

        scrSelect_[i] = new Spinner(container);
        scrSelect_[i]->setObjectName(DesignForm::arrayName("scrSelect", i));
        scrSelect_[i]->move(F::px(r.barLeft), F::px(r.top));
        scrSelect_[i]->setSmallChange(r.smallChange);
        scrSelect_[i]->setTabStop(i == 8 || i == 10);

        const QString labelName = r.labelIndex < 0
                                      ? QString::fromLatin1(r.labelName)
                                      : DesignForm::arrayName(r.labelName, r.labelIndex);
        const int labelTop = r.labelTop == kSame ? r.top : r.labelTop;
        caption_[i] =
            f.label(labelName, F::rect(r.labelLeft, labelTop, r.labelWidth, r.labelHeight),
                    QString::fromLatin1(r.caption), r.labelFlags);
        caption_[i]->setToolTip(tip);
    }
}

QWidgetList ParameterPanel::tabChain() const {
    QWidgetList chain{tabBar(), comVehicle_};
    for (int i = 0; i <= 4; ++i)
        chain << txtInput_[i];
    chain << cmdInertia_ << txtInput_[5] << txtInput_[6] << txtInput_[7] << scrSelect_[10]
          << txtInput_[9] << txtInput_[10] << cmdNormal_;
    for (int i = 11; i <= 17; ++i)
        chain << txtInput_[i];
    chain << txtInput_[8] << chkWheel_[1] << chkWheel_[2] << chkWheel_[0] << chkWheel_[4]
          << chkWheel_[3] << scrSelect_[8] << txtInput_[18] << chkNormal_ << chkInertia_
          << chkRealTime_;
    return chain;
}

QLabel* ParameterPanel::lblCaption(int n) const {
    return findChild<QLabel*>(DesignForm::arrayName("lblCaption", n));
}

ParameterPanel::Tab ParameterPanel::tabOfBox(int i) {
    return static_cast<Tab>(kRows[i].tab);
}

void ParameterPanel::resizeEvent(QResizeEvent* event) {
    QTabWidget::resizeEvent(event);
    placeOnPages();
}

void ParameterPanel::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    placeOnPages();
}

void ParameterPanel::placeOnPages() {
    // The pages start below the tab strip; the design measures from the tab
    // control's outer corner.
    const auto* stack = findChild<QStackedWidget*>();
    if (!stack) return;
    // The stack lays its pages over its whole contents rectangle.
    const QPoint offset = stack->geometry().topLeft() + stack->contentsRect().topLeft();
    if (offset == placedOffset_) return;
    const QPoint delta = placedOffset_ - offset;
    for (QWidget* page : page_)
        for (QWidget* child : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            child->move(child->pos() + delta);
    placedOffset_ = offset;
}

void ParameterPanel::connectHandlers() {
    for (int i = 0; i < kBoxCount; ++i) {
        connect(txtInput_[i], &QLineEdit::textChanged, this, [this, i] { txtInput_Change(i); });
        connect(scrSelect_[i], &Spinner::changed, this, [this, i] { scrSelect_Change(i); });
    }
    // Only a choice from the list loads a vehicle: no completion of typed
    // text, and the end of typing (Enter, leaving the field) is not a choice.
    comVehicle_->setCompleter(nullptr);
    comVehicle_->installEventFilter(this);
    comVehicle_->lineEdit()->installEventFilter(this);
    connect(comVehicle_, &QComboBox::activated, this, [this] {
        if (!typingFinishes_) comVehicle_Click();
    });
    connect(cmdNormal_, &QPushButton::clicked, this, &ParameterPanel::cmdNormal_Click);
    connect(cmdInertia_, &QPushButton::clicked, this, &ParameterPanel::cmdInertia_click);
}

bool ParameterPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == comVehicle_ || watched == comVehicle_->lineEdit()) {
        const bool enter = event->type() == QEvent::KeyPress &&
                           (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
        if (enter || event->type() == QEvent::FocusOut) {
            // The combo box treats a typed entry name as a choice while it
            // handles this event; the flag drops once the event is done.
            typingFinishes_ = true;
            QTimer::singleShot(0, this, [this] { typingFinishes_ = false; });
        }
    }
    return QTabWidget::eventFilter(watched, event);
}

void ParameterPanel::attach(Params& params, RunState& state) {
    if (!params_) connectHandlers();
    params_ = &params;
    state_ = &state;
}

void ParameterPanel::setMessageHook(MessageHook hook) {
    message_ = hook ? std::move(hook) : MessageHook(showMessageBox);
}

void ParameterPanel::showMessage(const QString& text, QWidget* owner) {
    message_(owner ? owner : this, QString(), text);
}

void ParameterPanel::showBoxMessage(const BoxMessage& message) {
    showMessage(QString::fromStdString(message.text));
    // Then the box the message names, ready for a new text.
    setCurrentIndex(tabOfBox(message.box));
    txtInput_.at(message.box)->setFocus();
    txtInput_.at(message.box)->selectAll();
}

BoxTexts ParameterPanel::texts() const {
    BoxTexts t;
    for (int i = 0; i < kBoxCount; ++i)
        t.txtInput[i] = txtInput_[i]->text().toStdString();
    for (int i = 0; i < kWheelCount; ++i) {
        const Qt::CheckState state = chkWheel_[i]->checkState();
        t.chkWheel[i] = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
    }
    return t;
}

void ParameterPanel::setBoxText(int i, const QString& text) {
    QLineEdit* box = txtInput_.at(i);
    if (box->text() == text) return;
    box->setText(text);
    // A written number shows from its first digit, as a typed one does.
    box->setCursorPosition(0);
}

void ParameterPanel::setTexts(const BoxTexts& texts) {
    for (int i = 0; i < kBoxCount; ++i)
        setBoxText(i, QString::fromStdString(texts.txtInput[i]));
    for (int i = 0; i < kWheelCount; ++i) {
        const int v = texts.chkWheel[i];
        chkWheel_[i]->setCheckState(v == 1   ? Qt::Checked
                                    : v == 2 ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
    }
}

AutoCalculate ParameterPanel::autoCalculate() const {
    return {chkNormal_->checkState() == Qt::Checked, chkInertia_->checkState() == Qt::Checked};
}

void ParameterPanel::Form_Load() {
    if (!params_) return;
    BoxTexts t = texts();
    presetLoading_ = true; // the default vehicle is a preset
    formLoad(*params_, *state_, t);
    setTexts(t);
    presetLoading_ = false;
}

void ParameterPanel::mnuReset_Click() {
    Form_Load();
    comVehicle_->setCurrentIndex(1);
    comVehicle_->setEditText(QString::fromLatin1(kVehicleNames[1].data(), kVehicleNames[1].size()));
    setInertiaForm(false);
}

void ParameterPanel::scrSelect_Change(int index) {
    Spinner* spinner = scrSelect_.at(index);
    const int d = spinner->value();
    if (d == 0) return; // back at rest: the box already shows its stepped text
    QLineEdit* box = txtInput_[index];
    if (index == kSteeringBox) {
        // Up walks Left, Right, Center; down walks Left, Center, Right.
        static const char* const kUp[][2] = {
            {"Left", "Right"}, {"Right", "Center"}, {"Center", "Left"}};
        static const char* const kDown[][2] = {
            {"Left", "Center"}, {"Right", "Left"}, {"Center", "Right"}};
        const QString text = box->text();
        for (const auto& step : d > 0 ? kUp : kDown) {
            if (text == QLatin1String(step[0])) {
                setBoxText(index, QLatin1String(step[1]));
                break;
            }
        }
    } else if (const auto x = parseNumber(box->text().toStdString())) {
        const double stepped = *x + static_cast<double>(d) / boxSpinnerDivisor(index);
        if (std::isfinite(stepped))
            setBoxText(index, QString::fromStdString(formatNumber(stepped)));
    }
    spinner->setValue(0);
}

void ParameterPanel::txtInput_Change(int index) {
    if (index <= 3 && !presetLoading_) {
        // Box 4, the friction, belongs to a preset too but does not make it "Custom".
        comVehicle_->setCurrentIndex(0);
        comVehicle_->setEditText(
            QString::fromLatin1(kVehicleNames[0].data(), kVehicleNames[0].size()));
        return;
    }
    if (index == kSteeringBox) {
        // Steering straight ahead, the turning radius does not matter.
        if (txtInput_[index]->text() == QLatin1String("Center")) {
            txtInput_[kRadiusBox]->setEnabled(false);
            scrSelect_[kRadiusBox]->setEnabled(false);
        } else {
            scrSelect_[kRadiusBox]->setEnabled(true);
            txtInput_[kRadiusBox]->setEnabled(true);
        }
    }
}

void ParameterPanel::comVehicle_Click() {
    if (!params_) return;
    presetLoading_ = true;
    const std::string name = comVehicle_->currentText().toStdString();
    if (name == kVehicleNames[0]) {
        presetLoading_ = false; // "Custom" is whatever the boxes hold
        return;
    }
    loadVehicle(name, *params_);
    BoxTexts t = texts();
    InitBoxes(*params_, *state_, t, false);
    setTexts(t);
    presetLoading_ = false;
}

void ParameterPanel::cmdNormal_Click() {
    if (!params_) return;
    BoxTexts t = texts();
    if (const auto message = yawmark::cmdNormal(t, *params_, *state_)) {
        showBoxMessage(*message);
        return;
    }
    setTexts(t);
}

void ParameterPanel::cmdInertia_click() {
    if (!params_) return;
    BoxTexts t = texts();
    if (const auto message = yawmark::cmdInertia(t, *params_, *state_)) {
        showBoxMessage(*message);
        return;
    }
    setTexts(t);
}

void ParameterPanel::setInertiaForm(bool useGyration) {
    const auto text = [](std::string_view s) {
        return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
    };
    caption_[kInertiaBox]->setText(text(yawmark::boxCaption(kInertiaBox, useGyration)));
    const QString tip = text(boxTooltip(kInertiaBox, useGyration));
    caption_[kInertiaBox]->setToolTip(tip);
    txtInput_[kInertiaBox]->setToolTip(tip);
    scrSelect_[kInertiaBox]->setSmallChange(boxSpinnerStep(kInertiaBox, useGyration));
}

} // namespace yawmark
