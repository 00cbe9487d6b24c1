// SPDX-License-Identifier: MIT
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
// The panel owns the case as last read from its boxes (at start-up, by a
// "Calculate" or by Draw) and the form box 5 is shown in. The boxes' texts
// are the only copy of what the user typed: `texts()` reads them when needed,
// and `setTexts()` writes back what a computation produced, each changed box
// raising its change notification as a typed change would.
#pragma once

#include "gui/MessageHook.h"
#include "io/CaseFile.h"
#include "io/Vehicles.h"
#include "model/Boxes.h"
#include "model/Case.h"
#include "model/Distribution.h"

#include <QTabWidget>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace yawmark {

class Spinner;

class ParameterPanel : public QTabWidget {
    Q_OBJECT
public:
    explicit ParameterPanel(QWidget* parent = nullptr);

    // The parameter boxes and their spinners, index 0..18.
    QLineEdit* txtInput(int i) const { return txtInput_.at(i); }
    Spinner* scrSelect(int i) const { return scrSelect_.at(i); }
    // The caption label of box i (`lblCaption(n)`, `Label3` or `lblDesc(18)`).
    QLabel* boxCaption(int i) const { return caption_.at(i); }
    // Merge ids of changed(): typing in box i, or the vehicle field (i = kBoxCount),
    // and a spinner's steps of box i.
    static constexpr int kTypingStep = 0, kSpinnerStep = 100;

    // The panel's controls in their tab order, starting with the tab strip.
    QWidgetList tabChain() const;
    // The connect-pixels boxes of the five trails (0 CE, 1 FL, 2 FR, 3 RR, 4 RL).
    QCheckBox* chkWheel(int i) const { return chkWheel_.at(i); }
    QComboBox* comVehicle() const { return comVehicle_; }
    QCheckBox* chkInertia() const { return chkInertia_; }
    QPushButton* cmdInertia() const { return cmdInertia_; }
    QCheckBox* chkNormal() const { return chkNormal_; }
    QPushButton* cmdNormal() const { return cmdNormal_; }
    QCheckBox* chkRealTime() const { return chkRealTime_; }

    // The case as last read from the boxes.
    const model::Case& currentCase() const { return case_; }
    model::InertiaForm inertiaForm() const { return form_; }

    // The boxes' spreads: a mark in the corner of each box that has one
    // (`spreadMark(i)`), and the spread in its tooltip and the box's.
    void showSpreads(const model::Spreads& spreads);

    // Replaces how messages reach the user (a message box by default).
    void setMessageHook(MessageHook hook);
    // Tells the user something, over the owner's window (the panel's by default).
    void showMessage(const QString& text, QWidget* owner = nullptr);
    // The message about a box, then that box shown, focused and selected.
    void showProblem(const model::BoxProblem& problem);

    model::BoxTexts texts() const;
    // Writes every box and check box whose content differs.
    void setTexts(const model::BoxTexts& texts);
    // Writes box i if its text differs, showing the text from its start.
    void setBoxText(int i, const QString& text);
    model::AutoCalculate autoCalculate() const;

    // Start-up: the start-up case in every box and check box.
    void loadStartup();
    // Tools > Reset All Variables: the start-up again, the vehicle list back to
    // "McLaren F1" and box 5 back to the moment of inertia, so that the list
    // and the box's caption always describe what the boxes hold.
    void resetAll();
    // What Draw needs: the ticked "Calculate"s, the boxes read and the run
    // checked. Nothing changes on a refusal: the message names the box, which
    // is shown focused.
    std::optional<model::Case> prepareDraw();
    // Options: box 5 in the other form, converted from the inertia last read.
    // False, after a message over `owner`, when that form has no value.
    bool switchInertiaForm(model::InertiaForm form, QWidget* owner);

    // The case as a file holds it (the window adds its "Auto" snapshot box).
    io::CaseFile caseFile() const;
    // A case file's boxes, check boxes, vehicle and form of box 5, shown as typed.
    void showCaseFile(const io::CaseFile& file);

    // The user's vehicles are kept in `path` (none are, without one): they
    // are read from it now and follow the built-in ones in the list.
    void setVehiclesFile(const QString& path);
    const std::vector<io::UserVehicle>& userVehicles() const { return userVehicles_; }
    // How Save Vehicle asks for a name (a dialog by default); empty cancels.
    void setNameHook(std::function<QString(const QString& suggestion)> hook) {
        nameHook_ = std::move(hook);
    }
    QToolButton* cmdVehicle() const { return cmdVehicle_; }

signals:
    // A "Calculate" read the boxes into this case.
    void caseRead(const model::Case& c);
    // The user changed what a case file holds (a box, a check box, the
    // vehicle, the form of box 5), named for Undo. Changes told with the same
    // mergeId (0 or more) in a row are one step of Undo.
    void changed(const QString& text, int mergeId = -1);
    // From a box's context menu: "Spread..." and "Clear Spread".
    void spreadAsked(int box);
    void spreadCleared(int box);

public slots:
    // A spinner moved off 0: steps its box by the arrow step from the box's
    // text (steering words along their cycle), held in the box's range, and
    // puts the spinner back to 0. A box that holds no number is left alone.
    void stepBox(int index);
    // A box's text changed: an edit of boxes 0 to 3 marks the vehicle as
    // "Custom"; box 8 reading "Center" disables box 9 and its spinner.
    void boxChanged(int index);
    // A choice from the vehicle list: the preset's values (or the user
    // vehicle's texts) into boxes 0 to 4.
    void chooseVehicle();
    // Boxes 0 to 4 kept under a name asked for, or the chosen user vehicle removed.
    void saveVehicle();
    void removeVehicle();
    // The normal-driving "Calculate": "0" into box 11 and the yaw rate of
    // normal driving into box 12, or a message naming the box.
    void calculateNormal();
    // The moment-of-inertia "Calculate": the moment of inertia of a
    // homogeneous car (or its radius of gyration) into box 5, or a message.
    void calculateInertia();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void buildVehicleTab(QWidget* page);
    void buildInitialConditionsTab(QWidget* page);
    void buildGraphTab(QWidget* page);
    void buildRows();
    void connectHandlers();
    // Moves the pages' controls so that their design positions, measured from
    // the tab control's corner, hold for the page offset of this platform.
    void placeOnPages();
    // The chosen vehicle's values into boxes 0 to 4.
    void loadVehicle();
    // Ignores the line edit's end of typing: only a choice from the list loads
    // a vehicle. Hands Ctrl+Z in a box with nothing of its own to undo to the window.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Takes a Calculate's result: the case and the texts, or the message.
    bool commit(const model::Checked<model::Case>& read, const model::BoxTexts& t);
    void setInertiaForm(model::InertiaForm form);
    // Box i's tooltip: its whole text on the first line, then its spread, then
    // the box table's tooltip.
    void showFullText(int i);
    // The list: the built-in vehicles, then the user's.
    void fillVehicleList();
    const io::UserVehicle* userVehicle(const QString& name) const;
    bool keepVehicles(std::vector<io::UserVehicle> list);

    std::array<QWidget*, 3> page_{};
    std::array<QLineEdit*, model::kBoxCount> txtInput_{};
    std::array<Spinner*, model::kBoxCount> scrSelect_{};
    std::array<QLabel*, model::kBoxCount> caption_{};
    std::array<QWidget*, model::kBoxCount> spreadMark_{}; // none for the steering's words
    model::Spreads spreads_;
    std::array<QCheckBox*, model::kTrailCount> chkWheel_{};
    QComboBox* comVehicle_ = nullptr;
    QToolButton* cmdVehicle_ = nullptr; // Save Vehicle..., Remove Vehicle
    std::vector<io::UserVehicle> userVehicles_;
    QString vehiclesPath_;
    std::function<QString(const QString&)> nameHook_;
    QGroupBox* frame2_ = nullptr;
    QCheckBox* chkInertia_ = nullptr;
    QPushButton* cmdInertia_ = nullptr;
    QGroupBox* frame1_ = nullptr;
    QCheckBox* chkNormal_ = nullptr;
    QPushButton* cmdNormal_ = nullptr;
    QCheckBox* chkRealTime_ = nullptr;
    QPoint placedOffset_{0, 0}; // page offset the controls are placed for

    model::Case case_ = model::startupCase();
    model::InertiaForm form_ = model::InertiaForm::Moment;
    MessageHook message_;
    bool presetLoading_ = false;  // a preset or the start-up writes the boxes: not "Custom"
    bool typingFinishes_ = false; // the vehicle list's text field is ending an edit
    int typedBox_ = -1;           // the box whose text the user's typing is changing
};

} // namespace yawmark
