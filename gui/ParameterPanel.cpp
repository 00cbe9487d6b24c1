// SPDX-License-Identifier: MIT
#include "gui/ParameterPanel.h"

#include "gui/DesignForm.h"
#include "gui/Spinner.h"
#include "gui/SpreadDialog.h"
#include "gui/SpreadMark.h"
#include "model/Validation.h"
#include "sim/NumberText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <utility>

namespace yawmark {

namespace {

using F = DesignForm;
using namespace model;

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Where each box, its spinner and its caption label stand (relative to the
// tab control, or to the frame for rows inside a frame); captions, tooltips,
// steps and tabs come from the box table. The boxes and spinners of every tab
// and frame stand in one column, the spinners 4 px from the page's right edge.
struct Row {
    int frame; // 0 on the tab itself, 1 in Frame1, 2 in Frame2
    int boxLeft, top;
    int barLeft;
    const char* labelName;
    int labelIndex; // -1: not an array member
    int labelLeft, labelTop, labelWidth, labelHeight;
    int labelFlags;
};

constexpr int kSame = -1;       // label top equals the box top
constexpr int kBoxWidth = 810;  // 54 px: ten characters of the box font, "-0.1872411"
constexpr int kCaptionGap = 30; // a caption ends 2 px before its box

// The tracked points of the trail check boxes, in their order.
constexpr const char* kTrailNames[] = {"mass centre", "front left wheel", "front right wheel",
                                       "rear right wheel", "rear left wheel"};

// clang-format off
const Row kRows[model::kBoxCount] = {
    {0, 2115,  960, 2910, "lblCaption",  2,  495, kSame, 1605, 195, 0},
    {0, 2115, 1320, 2910, "lblCaption",  3,  570, kSame, 1530, 195, 0},
    {0, 2115, 1680, 2910, "lblCaption", 18,  840, kSame, 1260, 195, 0},
    {0, 2115, 2040, 2910, "lblCaption", 17,  120, kSame, 1980, 195, 0},
    {0, 2115, 2400, 2910, "lblCaption",  4,  120, kSame, 1935, 390, F::Right | F::Wrap},
    {2, 2055,  720, 2850, "lblCaption",  5,  120, kSame, 1890, 195, F::Right},
    {0, 2115,  480, 2910, "lblCaption", 25,  825, kSame, 1275, 195, F::Right},
    {0, 2115,  840, 2910, "lblCaption", 24,  120, kSame, 1920, 435, F::Right | F::Wrap},
    {0, 2115, 1320, 2910, "lblCaption", 22,  120, kSame, 1965, 195, 0},
    {0, 2115, 1680, 2910, "lblCaption", 21,  120,  1560, 1935, 390, F::Right | F::Wrap},
    {0, 2115, 2160, 2910, "lblCaption", 23,  240,  2040, 1800, 495, F::Right | F::Wrap},
    {1, 2055,  720, 2850, "lblCaption", 11,  120, kSame, 1875, 390, F::Right | F::Wrap},
    {1, 2055, 1200, 2850, "lblCaption", 12,  240, kSame, 1695, 195, F::Right},
    {0, 2115,  480, 2910, "lblCaption", 20,  120, kSame, 1995, 195, F::Right},
    {0, 2115, 1320, 2910, "Label3",     -1,  120, kSame, 1935, 255, F::Right},
    {0, 2115, 1680, 2910, "lblCaption", 19,  600, kSame, 1515, 195, F::Right},
    {0, 2115, 2040, 2910, "lblCaption", 15,  600, kSame, 1515, 195, F::Right},
    {0, 2115, 2400, 2910, "lblCaption", 16,  600, kSame, 1515, 195, F::Right},
    {0, 2115, 2760, 2910, "lblDesc",    18,  120, kSame, 1995, 255, F::Right},
};
// clang-format on

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
    buildVehicleTab(page_[0]);
    buildInitialConditionsTab(page_[1]);
    buildGraphTab(page_[2]);
    buildRows();
    // Each link moves its second control right behind the first, so the
    // chain is laid from its start to its end in one pass.
    const QWidgetList chain = tabChain();
    for (qsizetype k = 1; k < chain.size(); ++k)
        QWidget::setTabOrder(chain[k - 1], chain[k]);
    setCurrentIndex(0);
    placeOnPages();
    message_ = showMessageBox;
    connectHandlers();
}

void ParameterPanel::buildVehicleTab(QWidget* page) {
    DesignForm f(page);
    f.label(QStringLiteral("lblVehicle"), F::rect(840, 480, 525, 255), QStringLiteral("Vehicle"));

    comVehicle_ = new QComboBox(page);
    comVehicle_->setObjectName(QStringLiteral("comVehicle"));
    comVehicle_->setEditable(true);
    comVehicle_->setInsertPolicy(QComboBox::NoInsert);
    for (std::string_view name : kVehicleNames)
        comVehicle_->addItem(qs(name));
    comVehicle_->setCurrentIndex(1);
    comVehicle_->setEditText(qs(kVehicleNames[1]));
    comVehicle_->setToolTip(qs(kVehicleListTooltip));
    comVehicle_->setAccessibleName(QStringLiteral("Vehicle"));
    comVehicle_->setGeometry(F::rect(1440, 480, 1425, 315));
    cmdVehicle_ = new QToolButton(page);
    cmdVehicle_->setObjectName(QStringLiteral("cmdVehicle"));
    cmdVehicle_->setText(QStringLiteral("..."));
    cmdVehicle_->setToolTip(QStringLiteral("Save or remove your own vehicles"));
    cmdVehicle_->setAccessibleName(QStringLiteral("Your vehicles"));
    cmdVehicle_->setPopupMode(QToolButton::InstantPopup);
    cmdVehicle_->setGeometry(F::rect(2895, 480, 270, 315));
    auto* menu = new QMenu(cmdVehicle_);
    menu->addAction(QStringLiteral("&Save Vehicle..."), this, &ParameterPanel::saveVehicle)
        ->setObjectName(QStringLiteral("mnuSaveVehicle"));
    menu->addAction(QStringLiteral("&Remove Vehicle"), this, &ParameterPanel::removeVehicle)
        ->setObjectName(QStringLiteral("mnuRemoveVehicle"));
    cmdVehicle_->setMenu(menu);

    frame2_ = f.frame(QStringLiteral("Frame2"), F::rect(60, 2760, 3135, 1095));
    DesignForm inFrame(frame2_);
    chkInertia_ = inFrame.checkBox(QStringLiteral("chkInertia"), F::rect(600, 240, 1335, 375),
                                   QStringLiteral("Auto Calculate"), true);
    cmdInertia_ = inFrame.button(QStringLiteral("cmdInertia"), F::rect(2055, 240, 1050, 375),
                                 QStringLiteral("Calculate"));
    cmdInertia_->setToolTip(QStringLiteral("Calculate Moment of Inertia from vehicle mass by "
                                           "assuming homogeneity of mass distribution."));
}

void ParameterPanel::buildInitialConditionsTab(QWidget* page) {
    DesignForm f(page);
    frame1_ = f.frame(QStringLiteral("Frame1"), F::rect(60, 2520, 3135, 1575));
    DesignForm inFrame(frame1_);
    chkNormal_ = inFrame.checkBox(QStringLiteral("chkNormal"), F::rect(600, 240, 1335, 375),
                                  QStringLiteral("Auto Calculate"), true);
    cmdNormal_ = inFrame.button(QStringLiteral("cmdNormal"), F::rect(2055, 240, 1050, 375),
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
    connect->setToolTip(qs(model::kTrailTooltip));

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
    const QRect wheelBox[kTrailCount] = {
        F::rect(2400, 3480, 255, 255), F::rect(2160, 3120, 255, 255), F::rect(2640, 3120, 255, 255),
        F::rect(2640, 3840, 255, 255), F::rect(2160, 3840, 255, 255)};
    for (int i = 0; i < kTrailCount; ++i) {
        chkWheel_[i] =
            f.checkBox(DesignForm::arrayName("chkWheel", i), wheelBox[i], QString(), false);
        chkWheel_[i]->setToolTip(qs(model::kTrailTooltip));
        chkWheel_[i]->setAccessibleName(QStringLiteral("Connect Plot Pixels: ") +
                                        QLatin1String(kTrailNames[i]));
        chkWheel_[i]->raise();
    }
}

void ParameterPanel::buildRows() {
    // A pixel smaller than the captions: ten characters fit a box.
    QFont boxFont = DesignForm::font();
    boxFont.setPixelSize(boxFont.pixelSize() - 1);
    for (int i = 0; i < kBoxCount; ++i) {
        const Row& r = kRows[i];
        const BoxInfo& info = boxInfo(i);
        QWidget* container = r.frame == 1   ? static_cast<QWidget*>(frame1_)
                             : r.frame == 2 ? static_cast<QWidget*>(frame2_)
                                            : page_[static_cast<int>(info.tab)];
        DesignForm f(container);
        const QString tip = qs(info.tooltip);

        txtInput_[i] = f.textBox(DesignForm::arrayName("txtInput", i),
                                 F::rect(r.boxLeft, r.top, kBoxWidth, 285), QString::number(i));
        txtInput_[i]->setFont(boxFont);
        showFullText(i);

        scrSelect_[i] = new Spinner(container);
        scrSelect_[i]->setObjectName(DesignForm::arrayName("scrSelect", i));
        scrSelect_[i]->move(F::px(r.barLeft), F::px(r.top));
        scrSelect_[i]->setSmallChange(info.step);
        scrSelect_[i]->setTabStop(i == 8 || i == 10);

        const QString labelName = r.labelIndex < 0
                                      ? QString::fromLatin1(r.labelName)
                                      : DesignForm::arrayName(r.labelName, r.labelIndex);
        const int labelTop = r.labelTop == kSame ? r.top : r.labelTop;
        const int labelWidth = std::min(r.labelWidth, r.boxLeft - kCaptionGap - r.labelLeft);
        caption_[i] = f.label(labelName, F::rect(r.labelLeft, labelTop, labelWidth, r.labelHeight),
                              qs(info.caption), r.labelFlags);
        caption_[i]->setToolTip(tip);
        txtInput_[i]->setAccessibleName(qs(info.caption));
        scrSelect_[i]->setName(qs(info.caption));
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
        // A typed text is told once the change it makes is whole: a line edit
        // tells textEdited before textChanged, on which an edit of boxes 0 to 3
        // makes the vehicle "Custom".
        connect(txtInput_[i], &QLineEdit::textEdited, this, [this, i] { typedBox_ = i; });
        connect(txtInput_[i], &QLineEdit::textChanged, this, [this, i] {
            showFullText(i);
            boxChanged(i);
            if (std::exchange(typedBox_, -1) == i)
                emit changed(QStringLiteral("Typing in %1").arg(qs(boxInfo(i, form_).caption)),
                             kTypingStep + i);
        });
        connect(scrSelect_[i], &Spinner::changed, this, [this, i] { stepBox(i); });
        if (boxInfo(i).divisor == 0) continue; // words have no spread
        spreadMark_[i] = addSpreadMark(txtInput_[i]);
        spreadMark_[i]->setObjectName(DesignForm::arrayName("spreadMark", i));
        addSpreadMenu(
            txtInput_[i], [this, i] { return spreads_[i].has_value(); },
            [this, i] { emit spreadAsked(i); }, [this, i] { emit spreadCleared(i); });
    }
    // Only a choice from the list loads a vehicle: no completion of typed
    // text, and the end of typing (Enter, leaving the field) is not a choice.
    comVehicle_->setCompleter(nullptr);
    comVehicle_->installEventFilter(this);
    comVehicle_->lineEdit()->installEventFilter(this);
    connect(comVehicle_, &QComboBox::activated, this, [this] {
        if (!typingFinishes_) return chooseVehicle();
        // The list may still have moved to the entry typed: the case names it.
        emit changed(QStringLiteral("Choose Vehicle"));
    });
    // Each change of the user's own hand is told once it is made, named for
    // Undo. Typing goes a keystroke at a time, merged into one step a box.
    for (QLineEdit* box : txtInput_)
        box->installEventFilter(this);
    connect(comVehicle_->lineEdit(), &QLineEdit::textEdited, this,
            [this] { emit changed(QStringLiteral("Typing in Vehicle"), kTypingStep + kBoxCount); });
    const auto tell = [this](QCheckBox* box, const QString& name) {
        connect(box, &QCheckBox::clicked, this,
                [this, name] { emit changed(QStringLiteral("Change ") + name); });
    };
    for (QCheckBox* box : chkWheel_)
        tell(box, box->accessibleName());
    tell(chkNormal_, QStringLiteral("Auto Calculate of Normal Driving"));
    tell(chkInertia_, QStringLiteral("Auto Calculate of the Moment of Inertia"));
    tell(chkRealTime_, QStringLiteral("Real Time"));
    connect(cmdNormal_, &QPushButton::clicked, this, &ParameterPanel::calculateNormal);
    connect(cmdInertia_, &QPushButton::clicked, this, &ParameterPanel::calculateInertia);
}

bool ParameterPanel::eventFilter(QObject* watched, QEvent* event) {
    // Ctrl+Z in a box undoes the typing in it, as in any text box; with
    // nothing typed there to undo, it goes on to Edit > Undo (likewise Redo).
    if (event->type() == QEvent::ShortcutOverride) {
        if (auto* box = qobject_cast<QLineEdit*>(watched)) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if ((key->matches(QKeySequence::Undo) && !box->isUndoAvailable()) ||
                (key->matches(QKeySequence::Redo) && !box->isRedoAvailable()))
                return true;
        }
    }
    if (event->type() == QEvent::FocusOut) {
        // A box left for another control shows its text from the start: the
        // sign and the leading digits. A menu or another window only visits.
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        const auto box = std::ranges::find(txtInput_, watched);
        if (box != txtInput_.end() && reason != Qt::PopupFocusReason &&
            reason != Qt::ActiveWindowFocusReason)
            (*box)->setCursorPosition(0);
    }
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

void ParameterPanel::showSpreads(const Spreads& spreads) {
    spreads_ = spreads;
    for (int i = 0; i < kBoxCount; ++i) {
        if (!spreadMark_[i]) continue;
        spreadMark_[i]->setVisible(spreads[i].has_value());
        spreadMark_[i]->setToolTip(spreads[i] ? spreadDescription(*spreads[i]) : QString());
        showFullText(i);
    }
}

void ParameterPanel::setMessageHook(MessageHook hook) {
    message_ = hook ? std::move(hook) : MessageHook(showMessageBox);
}

void ParameterPanel::showMessage(const QString& text, QWidget* owner) {
    message_(owner ? owner : this, QString(), text);
}

void ParameterPanel::showProblem(const BoxProblem& problem) {
    showMessage(QString::fromStdString(boxMessage(problem, form_)));
    // Then the box the message names, ready for a new text.
    setCurrentIndex(static_cast<int>(boxInfo(problem.box).tab));
    txtInput_.at(problem.box)->setFocus();
    txtInput_.at(problem.box)->selectAll();
}

BoxTexts ParameterPanel::texts() const {
    BoxTexts t;
    for (int i = 0; i < kBoxCount; ++i)
        t.text[i] = txtInput_[i]->text().toStdString();
    for (int i = 0; i < kTrailCount; ++i) {
        const Qt::CheckState state = chkWheel_[i]->checkState();
        t.trail[i] = state == Qt::Checked ? 1 : state == Qt::PartiallyChecked ? 2 : 0;
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

void ParameterPanel::showFullText(int i) {
    QLineEdit* box = txtInput_.at(i);
    QString tip = qs(boxInfo(i, form_).tooltip);
    if (spreads_[i])
        tip =
            QStringLiteral("Spread: ") + spreadDescription(*spreads_[i]) + QLatin1Char('\n') + tip;
    const QString full = box->text().isEmpty() ? tip : box->text() + QLatin1Char('\n') + tip;
    // Typed text is shown as typed, never as markup ("<b>1" stays "<b>1").
    box->setToolTip(Qt::mightBeRichText(full) ? Qt::convertFromPlainText(full) : full);
}

void ParameterPanel::setTexts(const BoxTexts& texts) {
    for (int i = 0; i < kBoxCount; ++i)
        setBoxText(i, QString::fromStdString(texts.text[i]));
    for (int i = 0; i < kTrailCount; ++i) {
        const int v = texts.trail[i];
        chkWheel_[i]->setCheckState(v == 1   ? Qt::Checked
                                    : v == 2 ? Qt::PartiallyChecked
                                             : Qt::Unchecked);
    }
}

void ParameterPanel::loadStartup() {
    case_ = startupCase();
    BoxTexts t = texts();
    writeBoxes(case_, t, true);
    presetLoading_ = true; // the default vehicle is a preset
    setTexts(t);
    presetLoading_ = false;
}

void ParameterPanel::resetAll() {
    loadStartup();
    comVehicle_->setCurrentIndex(1);
    comVehicle_->setEditText(qs(kVehicleNames[1]));
    setInertiaForm(InertiaForm::Moment);
    emit changed(QStringLiteral("Reset All Variables"));
}

void ParameterPanel::stepBox(int index) {
    Spinner* spinner = scrSelect_.at(index);
    const int d = spinner->value();
    if (d == 0) return; // back at rest: the box already shows its stepped text
    QLineEdit* box = txtInput_[index];
    if (index == kSteeringBox) {
        // Up walks Left, Right, Center; down walks Left, Center, Right.
        if (const auto steering = parseSteering(box->text().toStdString())) {
            const int next = (static_cast<int>(*steering) + (d > 0 ? 1 : 2)) % 3;
            setBoxText(index, qs(steeringWord(static_cast<sim::Steering>(next))));
        }
    } else if (const auto x = parseNumber(box->text().toStdString())) {
        // Held in the box's range: a spinner never steps to a number Calculate refuses.
        const double to = stepped(index, *x, d);
        if (std::isfinite(to)) setBoxText(index, QString::fromStdString(formatNumber(to)));
    }
    spinner->setValue(0);
    emit changed(QStringLiteral("Step %1").arg(qs(boxInfo(index, form_).caption)),
                 kSpinnerStep + index);
}

void ParameterPanel::boxChanged(int index) {
    if (index <= kDistributionBox && !presetLoading_) {
        // Box 4, the friction, belongs to a preset too but does not make it "Custom".
        comVehicle_->setCurrentIndex(0);
        comVehicle_->setEditText(qs(kVehicleNames[0]));
        return;
    }
    if (index == kSteeringBox) {
        // Steering straight ahead, the turning radius does not matter.
        const bool matters =
            parseSteering(txtInput_[index]->text().toStdString()) != sim::Steering::Center;
        txtInput_[kRadiusBox]->setEnabled(matters);
        scrSelect_[kRadiusBox]->setEnabled(matters);
    }
}

void ParameterPanel::chooseVehicle() {
    loadVehicle();
    emit changed(QStringLiteral("Choose Vehicle"));
}

void ParameterPanel::loadVehicle() {
    const auto vehicle = preset(comVehicle_->currentText().toStdString());
    if (const io::UserVehicle* mine = userVehicle(comVehicle_->currentText())) {
        presetLoading_ = true;
        for (int i = 0; i < io::kVehicleBoxCount; ++i)
            setBoxText(i, QString::fromStdString(mine->texts[i]));
        presetLoading_ = false;
        return;
    }
    if (!vehicle) return; // "Custom" is whatever the boxes hold
    presetLoading_ = true;
    applyVehicle(*vehicle, case_.car);
    BoxTexts t = texts();
    writeBoxes(case_, t, false);
    setTexts(t);
    presetLoading_ = false;
}

bool ParameterPanel::commit(const Checked<Case>& read, const BoxTexts& t) {
    if (const auto* problem = std::get_if<BoxProblem>(&read)) {
        showProblem(*problem);
        return false;
    }
    case_ = std::get<Case>(read);
    setTexts(t);
    emit caseRead(case_);
    return true;
}

void ParameterPanel::calculateNormal() {
    BoxTexts t = texts();
    const auto read = model::calculateNormal(t, form_);
    if (commit(read, t)) emit changed(QStringLiteral("Calculate Normal Driving"));
}

void ParameterPanel::calculateInertia() {
    BoxTexts t = texts();
    const auto read = model::calculateInertia(t, form_);
    if (commit(read, t)) emit changed(QStringLiteral("Calculate Moment of Inertia"));
}

std::optional<Case> ParameterPanel::prepareDraw() {
    const auto prepared = model::prepareDraw(texts(), autoCalculate(), form_);
    if (const auto* problem = std::get_if<BoxProblem>(&prepared)) {
        showProblem(*problem);
        return std::nullopt;
    }
    const auto& p = std::get<Prepared>(prepared);
    case_ = p.c;
    setTexts(p.texts); // the "Auto Calculate" results in boxes 5, 11 and 12
    emit changed(QStringLiteral("Auto Calculate"));
    return case_;
}

AutoCalculate ParameterPanel::autoCalculate() const {
    return {chkNormal_->checkState() == Qt::Checked, chkInertia_->checkState() == Qt::Checked};
}

bool ParameterPanel::switchInertiaForm(InertiaForm form, QWidget* owner) {
    if (form == InertiaForm::Gyration) {
        // Refused before anything changes, naming box 5 as it is labelled now.
        if (auto problem = validateGyration(case_.car)) {
            showMessage(QString::fromStdString(boxMessage(*problem, form_)), owner);
            return false;
        }
    }
    // Box 5 shows the inertia last read, in the new form.
    const auto text = inertiaText(case_.car, form);
    if (const auto* problem = std::get_if<BoxProblem>(&text)) {
        showMessage(QString::fromStdString(boxMessage(*problem, form)), owner);
        return false;
    }
    setBoxText(kInertiaBox, QString::fromStdString(std::get<std::string>(text)));
    setInertiaForm(form);
    emit changed(form == InertiaForm::Gyration ? QStringLiteral("Use the Radius of Gyration")
                                               : QStringLiteral("Use the Moment of Inertia"));
    return true;
}

io::CaseFile ParameterPanel::caseFile() const {
    io::CaseFile f;
    f.texts = texts();
    f.vehicle = comVehicle_->currentText().toStdString();
    f.form = form_;
    f.autos = autoCalculate();
    f.realTime = chkRealTime_->isChecked();
    return f;
}

void ParameterPanel::showCaseFile(const io::CaseFile& f) {
    setInertiaForm(f.form);
    presetLoading_ = true; // the file's boxes, not an edit that makes the vehicle "Custom"
    setTexts(f.texts);
    presetLoading_ = false;
    comVehicle_->setCurrentIndex(comVehicle_->findText(QString::fromStdString(f.vehicle)));
    comVehicle_->setEditText(QString::fromStdString(f.vehicle));
    chkNormal_->setChecked(f.autos.normal);
    chkInertia_->setChecked(f.autos.inertia);
    chkRealTime_->setChecked(f.realTime);
    // What a file holds Draw can read (it is refused otherwise).
    const auto read = readCase(f.texts, f.form);
    if (const auto* c = std::get_if<Case>(&read)) case_ = *c;
}

void ParameterPanel::setInertiaForm(InertiaForm form) {
    form_ = form;
    const BoxInfo& info = boxInfo(kInertiaBox, form);
    caption_[kInertiaBox]->setText(qs(info.caption));
    caption_[kInertiaBox]->setToolTip(qs(info.tooltip));
    showFullText(kInertiaBox);
    scrSelect_[kInertiaBox]->setSmallChange(info.step);
    txtInput_[kInertiaBox]->setAccessibleName(qs(info.caption));
    scrSelect_[kInertiaBox]->setName(qs(info.caption));
}

} // namespace yawmark
