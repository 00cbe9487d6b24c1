// SPDX-License-Identifier: MIT
#include "gui/OptionsDialog.h"

#include "gui/DesignForm.h"
#include "gui/ParameterPanel.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace yawmark {

using F = DesignForm;

OptionsDialog::OptionsDialog(QWidget* mainWindow, ParameterPanel& panel)
    : QDialog(mainWindow, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint),
      panel_(&panel) {
    setObjectName(QStringLiteral("frmOption"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(true);
    setWindowTitle(QStringLiteral("Options"));
    setFont(DesignForm::font());
    setFixedSize(kClientWidth, kClientHeight);

    auto* frame = new QGroupBox(QStringLiteral("Specify Moment of Inertia by"), this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setGeometry(F::rect(120, 120, 4335, 975));
    optValue_ = new QRadioButton(QStringLiteral("Value"), frame);
    optValue_->setObjectName(QStringLiteral("optValue"));
    optValue_->setGeometry(F::rect(480, 360, 2775, 255));
    optGyrate_ = new QRadioButton(QStringLiteral("Radius of Gyration"), frame);
    optGyrate_->setObjectName(QStringLiteral("optGyrate"));
    optGyrate_->setGeometry(F::rect(480, 600, 2775, 255));

    DesignForm f(this);
    cmdOK_ = f.button(QStringLiteral("cmdOK"), F::rect(2520, 1320, 975, 375), QStringLiteral("OK"));
    cmdCancel_ = f.button(QStringLiteral("cmdCancel"), F::rect(3600, 1320, 975, 375),
                          QStringLiteral("Cancel"));
    // Enter presses the focused button, and OK when the focus is on an option.
    cmdOK_->setAutoDefault(true);
    cmdCancel_->setAutoDefault(true);
    cmdOK_->setDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &OptionsDialog::reject);

    setTabOrder(optValue_, optGyrate_);
    setTabOrder(optGyrate_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);

    const bool gyration = panel.inertiaForm() == model::InertiaForm::Gyration;
    optValue_->setChecked(!gyration);
    optGyrate_->setChecked(gyration);
}

void OptionsDialog::accept() {
    const auto form =
        optValue_->isChecked() ? model::InertiaForm::Moment : model::InertiaForm::Gyration;
    if (panel_ && !panel_->switchInertiaForm(form, this)) return;
    QDialog::accept();
}

} // namespace yawmark
