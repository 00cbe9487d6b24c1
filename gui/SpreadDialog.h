// SPDX-License-Identifier: MIT
// A box's spread: how far its value may really have been from what is typed,
// as a normal (mean, σ), uniform (low, high) or triangular (low, mode, high)
// distribution in the box's own unit. The dialog starts from the box's spread,
// or around its value; OK sets it (one step of Undo) only when the box could
// take every draw (model::checkSpread), else it names the box and what is
// wrong and keeps the fields; Clear Spread removes it. Its widgets:
// "cboShape" (in the order of model::Shape), "txtSpread0" to "txtSpread2" (the
// shape's numbers in the order of its text), "lblSpreadProblem".
#pragma once

#include "model/Distribution.h"

#include <QDialog>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;

namespace yawmark {

class CaseDocument;

// "normal: mean 0.76, σ 0.06", "uniform: 0.7 to 0.8", "triangular: 40 to 55, mode 45".
QString spreadDescription(const model::Spread& spread);

class SpreadDialog : public QDialog {
    Q_OBJECT
public:
    // Opens (window-modal, without a loop of its own) the editor of box `box`
    // over `parent`; it deletes itself once closed.
    static SpreadDialog* edit(QWidget* parent, CaseDocument& document, int box);

    SpreadDialog(QWidget* parent, CaseDocument& document, int box);

public slots:
    // OK: the spread set, or what is wrong said and the dialog left open.
    void accept() override;
    void clearSpread();

private:
    // What is wrong, said under the fields; the fields stay as typed.
    void refuse(const QString& text);
    // The fields around the box's value for the chosen shape.
    void fillDefaults();

    CaseDocument& document_;
    int box_;
    double value_ = 0; // the box's value, the default centre
    QComboBox* shape_ = nullptr;
    std::array<QLabel*, 3> labels_{};
    std::array<QLineEdit*, 3> fields_{};
    QLabel* problem_ = nullptr;
};

} // namespace yawmark
