#include "gui/frmOption.h"

#include "model/BoxTable.h"
#include "model/Calculate.h"
#include "gui/DesignForm.h"
#include "gui/ParameterPanel.h"
#include "sim/Validation.h"

#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWindow>

namespace yawmark {

namespace {
frmOption* theOptions = nullptr;
} // namespace

using F = DesignForm;

frmOption* frmOption::showOptions(QWidget* mainWindow, ParameterPanel& panel) {
    if (!theOptions) {
        theOptions = new frmOption(mainWindow, panel);
        // Kept above the main window by the window system.
        theOptions->create();
        if (mainWindow && mainWindow->windowHandle())
            theOptions->windowHandle()->setTransientParent(mainWindow->windowHandle());
        theOptions->Form_Load();
    }
    theOptions->show();
    theOptions->raise();
    theOptions->activateWindow();
    return theOptions;
}

frmOption* frmOption::existing() {
    return theOptions;
}

// The dialog has no parent widget: a disabled main window would disable its
// child windows too, and this one must stay usable while the main one is not.
frmOption::frmOption(QWidget* mainWindow, ParameterPanel& panel)
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

    Frame1 = new QGroupBox(QStringLiteral("Specify Moment of Inertia by"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(F::rect(120, 120, 4335, 975));
    optValue = new QRadioButton(QStringLiteral("Value"), Frame1);
    optValue->setObjectName(QStringLiteral("optValue"));
    optValue->setGeometry(F::rect(480, 360, 2775, 255));
    optGyrate = new QRadioButton(QStringLiteral("Radius of Gyration"), Frame1);
    optGyrate->setObjectName(QStringLiteral("optGyrate"));
    optGyrate->setGeometry(F::rect(480, 600, 2775, 255));

    DesignForm f(this);
    cmdOK = f.button(QStringLiteral("cmdOK"), F::rect(2520, 1320, 975, 375), QStringLiteral("OK"));
    cmdCancel = f.button(QStringLiteral("cmdCancel"), F::rect(3600, 1320, 975, 375),
                         QStringLiteral("Cancel"));
    // A focused button takes Enter itself, as Space.
    cmdOK->setAutoDefault(true);
    cmdCancel->setAutoDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &frmOption::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmOption::cmdCancel_Click);

    setTabOrder(optValue, optGyrate);
    setTabOrder(optGyrate, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
}

frmOption::~frmOption() {
    // Destroyed without a close (the main window went first): still give
    // the main window its input back.
    Form_Unload();
    if (theOptions == this) theOptions = nullptr;
}

void frmOption::Form_Load() {
    if (main_) main_->setEnabled(false);
    const bool gyration = panel_ && panel_->params() && panel_->params()->useGyration;
    if (gyration) {
        optValue->setChecked(false);
        optGyrate->setChecked(true);
    } else {
        optValue->setChecked(true);
        optGyrate->setChecked(false);
    }
}

void frmOption::Form_Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (theOptions == this) theOptions = nullptr; // the next "&Options" opens a new one
    if (main_) {
        main_->setEnabled(true);
        main_->raise();
        main_->activateWindow();
    }
}

void frmOption::cmdOK_Click() {
    Params* p = panel_ ? panel_->params() : nullptr;
    if (p) {
        const bool gyration = !optValue->isChecked();
        // Refused before anything changes, naming box 5 as it is labelled now.
        if (gyration) {
            Params q = *p;
            q.useGyration = true;
            if (auto problem = validateGyration(q)) {
                panel_->showMessage(QString::fromStdString(toMessage(*problem, *p).text), this);
                return;
            }
        }
        const bool previous = p->useGyration;
        p->useGyration = gyration;
        if (!ToggleGyrate()) {
            p->useGyration = previous;
            return;
        }
    }
    close();
}

void frmOption::cmdCancel_Click() {
    close();
}

bool frmOption::ToggleGyrate() {
    if (!panel_ || !panel_->params()) return false;
    const Params& p = *panel_->params();
    std::string text;
    if (auto message = inertiaBoxText(p, text)) {
        panel_->showMessage(QString::fromStdString(message->text), this);
        return false;
    }
    panel_->setBoxText(kInertiaBox, QString::fromStdString(text));
    panel_->setInertiaForm(p.useGyration);
    return true;
}

void frmOption::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

} // namespace yawmark
