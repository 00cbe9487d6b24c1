// The parameter panel: the tab control `SSTab` with its three tabs "Vehicle",
// "Initial Conditions" and "Graph", holding the nineteen parameter boxes
// `txtInput(i)` with their spinners `scrSelect(i)` and caption labels, the
// vehicle list, the two "Calculate" frames, the real-time switch and the
// little car diagram with the five connect-pixels boxes `chkWheel(i)`.
//
// Every control sits at its design position relative to the tab control's
// outer corner, whatever height the tab strip has on this platform. Only the
// controls of the shown tab are visible and take the focus.
//
// The panel is a view of the skid's parameters and run state, which the main
// window owns and attaches. The boxes' texts are the only copy of what the
// user typed: `texts()` reads them when a procedure needs them, and
// `setTexts()` writes back what it produced, each changed box raising its
// change notification as a typed change would.
#pragma once

#include "model/BoxTexts.h"
#include "model/DrawPreparation.h"
#include "gui/MessageHook.h"
#include "sim/Params.h"
#include "sim/RunState.h"

#include <QTabWidget>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace yawmark {

class Spinner;

class ParameterPanel : public QTabWidget {
    Q_OBJECT
public:
    static constexpr int kBoxCount = 19;  // txtInput(0) .. txtInput(18)
    static constexpr int kWheelCount = 5; // chkWheel(0) .. chkWheel(4)
    enum Tab { VehicleTab = 0, InitialConditionsTab = 1, GraphTab = 2 };

    explicit ParameterPanel(QWidget* parent = nullptr);

    // The parameter boxes and their spinners, index 0..18.
    QLineEdit* txtInput(int i) const { return txtInput_.at(i); }
    Spinner* scrSelect(int i) const { return scrSelect_.at(i); }
    // The caption label of box i (`lblCaption(n)`, `Label3` or `lblDesc(18)`):
    // the name a message about that box uses.
    QLabel* boxCaption(int i) const { return caption_.at(i); }
    // The label `lblCaption(n)` of the panel, by its own index (not the box
    // index); nullptr for an index the panel does not have.
    QLabel* lblCaption(int n) const;
    // The tab a box lies on.
    static Tab tabOfBox(int i);
    // The panel's controls in their tab order, starting with the tab strip.
    QWidgetList tabChain() const;

    // The connect-pixels boxes of the five tracked points (0 CE, 1 FL, 2 FR, 3 RR, 4 RL).
    QCheckBox* chkWheel(int i) const { return chkWheel_.at(i); }

    QComboBox* comVehicle() const { return comVehicle_; }
    QGroupBox* frame2() const { return frame2_; } // moment-of-inertia frame
    QCheckBox* chkInertia() const { return chkInertia_; }
    QPushButton* cmdInertia() const { return cmdInertia_; }
    QGroupBox* frame1() const { return frame1_; } // normal-driving frame
    QCheckBox* chkNormal() const { return chkNormal_; }
    QPushButton* cmdNormal() const { return cmdNormal_; }
    QCheckBox* chkRealTime() const { return chkRealTime_; }

    // The parameters and run state the panel shows and reads (owned by the
    // window, living as long as the panel). Until attached the controls only
    // show their design state: no box, spinner or button acts.
    void attach(Params& params, RunState& state);
    Params* params() const { return params_; }
    RunState* runState() const { return state_; }

    // Replaces how messages reach the user (a message box by default).
    void setMessageHook(MessageHook hook);
    // Tells the user something through the hook, over the owner's window
    // (the panel's by default).
    void showMessage(const QString& text, QWidget* owner = nullptr);
    // A message about a box, then that box shown, focused and selected.
    void showBoxMessage(const BoxMessage& message);

    // The boxes' texts and the check boxes as they stand now.
    BoxTexts texts() const;
    // Writes every box and check box whose content differs; each changed box
    // raises txtInput_Change at once, before the next box is written.
    void setTexts(const BoxTexts& texts);
    // Writes box i if its text differs (raising txtInput_Change), showing the
    // text from its start.
    void setBoxText(int i, const QString& text);
    // The two "Auto Calculate" boxes, as Draw uses them.
    AutoCalculate autoCalculate() const;

    // True while a preset or the start-up writes the boxes: those writes do
    // not switch the vehicle list to "Custom".
    bool presetLoading() const { return presetLoading_; }

    // The start-up of the parameters: defaults, the "McLaren F1", heading 0,
    // the yaw rate of normal driving, the moment of inertia, every box and
    // check box written.
    void Form_Load();
    // Tools, "&Reset All Variables": the start-up again, and the vehicle list
    // back to "McLaren F1" and box 5 back to its moment-of-inertia form, so
    // the list and the box's caption always describe what the boxes hold.
    void mnuReset_Click();

    // A spinner moved off 0: steps its box by the arrow step from the box's
    // text (steering words along their cycle) and puts the spinner back to 0.
    // A box that holds no number is left alone.
    void scrSelect_Change(int index);
    // A box's text changed (typed or written): an edit of boxes 0 to 3 marks
    // the vehicle as "Custom"; box 8 reading "Center" disables box 9 and its
    // spinner, any other text enables them.
    void txtInput_Change(int index);
    // A choice from the vehicle list: the preset's values into boxes 0 to 4.
    void comVehicle_Click();
    // The normal-driving "Calculate": "0" into box 11 and the yaw rate of
    // normal driving into box 12; a message naming the box instead when the
    // boxes cannot be read or the yaw rate is undefined.
    void cmdNormal_Click();
    // The moment-of-inertia "Calculate": the moment of inertia of a
    // homogeneous car (or its radius of gyration) into box 5, or a message.
    void cmdInertia_click();

    // Box 5's caption, the tooltips of its label and box, and its spinner's
    // arrow step, for a moment of inertia or a radius of gyration.
    void setInertiaForm(bool useGyration);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildVehicleTab(QWidget* page);
    void buildInitialConditionsTab(QWidget* page);
    void buildGraphTab(QWidget* page);
    void buildRows();
    // Moves the pages' controls so that their design positions, measured from
    // the tab control's corner, hold for the page offset of this platform.
    void placeOnPages();

    std::array<QWidget*, 3> page_{};
    std::array<QLineEdit*, kBoxCount> txtInput_{};
    std::array<Spinner*, kBoxCount> scrSelect_{};
    std::array<QLabel*, kBoxCount> caption_{};
    std::array<QCheckBox*, kWheelCount> chkWheel_{};
    QComboBox* comVehicle_ = nullptr;
    QGroupBox* frame2_ = nullptr;
    QCheckBox* chkInertia_ = nullptr;
    QPushButton* cmdInertia_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QCheckBox* chkNormal_ = nullptr;
    QPushButton* cmdNormal_ = nullptr;
    QCheckBox* chkRealTime_ = nullptr;
    QPoint placedOffset_{0, 0}; // page offset the controls are placed for

    void connectHandlers();
    // Ignores the line edit's end of typing: only a choice from the list loads a vehicle.
    bool eventFilter(QObject* watched, QEvent* event) override;

    Params* params_ = nullptr;
    RunState* state_ = nullptr;
    MessageHook message_;
    bool presetLoading_ = false;
    bool typingFinishes_ = false; // the vehicle list's text field is ending an edit
};

} // namespace yawmark
