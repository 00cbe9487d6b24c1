// The parameter panel: the tab control `SSTab` with its three tabs "Vehicle",
// "Initial Conditions" and "Graph", holding the nineteen parameter boxes
// `txtInput(i)` with their spinners `scrSelect(i)` and caption labels, the
// vehicle list, the two "Calculate" frames, the real-time switch and the
// little car diagram with the five connect-pixels boxes `chkWheel(i)`.
//
// Every control sits at its design position relative to the tab control's
// outer corner, whatever height the tab strip has on this platform. Only the
// controls of the shown tab are visible and take the focus.
#pragma once

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
};

} // namespace yawmark
