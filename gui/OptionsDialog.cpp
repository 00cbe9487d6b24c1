#include "gui/OptionsDialog.h"

#include "gui/DesignForm.h"
#include "gui/ParameterPanel.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>

namespace yawmark {

using F = DesignForm;

// The dialog has no parent widget: a disabled main window would disable its
// child windows too, and this one must stay usable while the main one is not.
OptionsDialog::OptionsDialog(QWidget* mainWindow, ParameterPanel& panel)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint),
      main_(mainWindow), panel_(&panel) {
    setObjectName(QStringLiteral("frmOption"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Options"));
    setFont(DesignForm::font());
    if (mainWindow) {
        setWindowIcon(mainWindow->windowIcon());
        // Goes with the main window if that one goes first.
        connect(mainWindow, &QObject::destroyed, this, &QObject::deleteLater);
    }
    setFixedSize(kClientWidth, kClientHeight);
    move(kLeft, kTop);

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
    // A focused button takes Enter itself, as Space.
    cmdOK_->setAutoDefault(true);
    cmdCancel_->setAutoDefault(true);
    connect(cmdOK_, &QPushButton::clicked, this, &OptionsDialog::accept);
    connect(cmdCancel_, &QPushButton::clicked, this, &QWidget::close);

    setTabOrder(optValue_, optGyrate_);
    setTabOrder(optGyrate_, cmdOK_);
    setTabOrder(cmdOK_, cmdCancel_);

    // Kept above the main window by the window system.
    create();
    if (mainWindow && mainWindow->windowHandle())
        windowHandle()->setTransientParent(mainWindow->windowHandle());
    if (main_) main_->setEnabled(false);
    const bool gyration = panel.inertiaForm() == model::InertiaForm::Gyration;
    optValue_->setChecked(!gyration);
    optGyrate_->setChecked(gyration);
}

OptionsDialog::~OptionsDialog() {
    // Destroyed without a close (the main window went first): still give
    // the main window its input back.
    release();
}

void OptionsDialog::release() {
    if (released_) return;
    released_ = true;
    if (main_) {
        main_->setEnabled(true);
        main_->raise();
        main_->activateWindow();
    }
}

void OptionsDialog::accept() {
    const auto form =
        optValue_->isChecked() ? model::InertiaForm::Moment : model::InertiaForm::Gyration;
    if (panel_ && !panel_->switchInertiaForm(form, this)) return;
    close();
}

void OptionsDialog::closeEvent(QCloseEvent* event) {
    release();
    event->accept();
}

} // namespace yawmark
