#include "gui/frmGraph.h"

#include "gui/AppArt.h"
#include "gui/RunControl.h"
#include "gui/frmAbout.h"
#include "gui/DesignForm.h"
#include "gui/ParameterPanel.h"
#include "gui/ReversedScrollBar.h"
#include "gui/Spinner.h"
#include "gui/frmOption.h"
#include "gui/PlotWidget.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

namespace yawmark {

using F = DesignForm;

frmGraph::frmGraph(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmGraph"));
    setWindowTitle(QStringLiteral("Yawmark"));
    setWindowIcon(programIcon());
    setFont(DesignForm::font());

    // The plot covers the whole client area; the panel frames lie on top of
    // it, and the plot's own frame starts right of the control panel.
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("clientArea"));
    auto* fill = new QGridLayout(client);
    fill->setContentsMargins(0, 0, 0, 0);
    plot_ = new PlotWidget(client);
    plot_->setObjectName(QStringLiteral("plot"));
    fill->addWidget(plot_, 0, 0);
    setCentralWidget(client);

    DesignForm f(client);
    fmeTip_ = f.frame(QStringLiteral("fmeTip"), F::rect(120, 6360, 3495, 975));
    fmeControl_ = f.frame(QStringLiteral("fmeControl"), F::rect(120, 0, 3495, 6375));
    buildControlPanel();
    buildTips();
    plot_->setPanelFrame(fmeControl_);

    buildMenus();

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(100);
    connect(timer1_, &QTimer::timeout, this, &frmGraph::Timer1_Timer);
    timer1_->start();
    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1);

    setTabOrder();
    wireRunControl();
    wirePanel();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

frmGraph::~frmGraph() = default;

void frmGraph::buildMenus() {
    mnuFile_ = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    mnuExit_ = mnuFile_->addAction(QStringLiteral("E&xit"));
    mnuExit_->setObjectName(QStringLiteral("mnuExit"));
    connect(mnuExit_, &QAction::triggered, this, &frmGraph::mnuExit_Click);

    mnuTools_ = menuBar()->addMenu(QStringLiteral("&Tools"));
    mnuTools_->setObjectName(QStringLiteral("mnuTools"));
    mnuOption_ = mnuTools_->addAction(QStringLiteral("&Options"));
    mnuOption_->setObjectName(QStringLiteral("mnuOption"));
    mnuReset_ = mnuTools_->addAction(QStringLiteral("&Reset All Variables"));
    mnuReset_->setObjectName(QStringLiteral("mnuReset"));

    mnuHelp_ = menuBar()->addMenu(QStringLiteral("&Help"));
    mnuHelp_->setObjectName(QStringLiteral("mnuHelp"));
    mnuNA_ = mnuHelp_->addAction(QStringLiteral("[Not Currently Available]"));
    mnuNA_->setObjectName(QStringLiteral("mnuNA"));
    mnuNA_->setEnabled(false);
    mnuAbout_ = mnuHelp_->addAction(QStringLiteral("&About..."));
    mnuAbout_->setObjectName(QStringLiteral("mnuAbout"));
    connect(mnuAbout_, &QAction::triggered, this, &frmGraph::mnuAbout_Click);
}

void frmGraph::buildControlPanel() {
    panel_ = new ParameterPanel(fmeControl_);
    panel_->move(F::px(120), F::px(240));

    DesignForm f(fmeControl_);
    auto bar = [this](const QString& name, Qt::Orientation o, QRect r, int smallChange) {
        auto* b = new ReversedScrollBar(o, 32767, -32767, fmeControl_);
        b->setObjectName(name);
        b->setGeometry(r);
        b->setSmallChange(smallChange);
        b->setLargeChange(1);
        return b;
    };

    f.label(F::arrayName("lblCaption", 7), F::rect(120, 4560, 435, 435),
            QStringLiteral("Scroll Axes"), F::Wrap | F::AutoSize);
    scrX_[0] = bar(F::arrayName("scrX", 0), Qt::Horizontal, F::rect(600, 4800, 495, 255), 10);
    scrY_[0] = bar(F::arrayName("scrY", 0), Qt::Vertical, F::rect(720, 4560, 255, 735), 1);

    f.label(F::arrayName("lblCaption", 26), F::rect(1320, 4560, 525, 390),
            QStringLiteral("Scale Interval"), F::Wrap | F::AutoSize);
    f.label(F::arrayName("Label1", 3), F::rect(1920, 4560, 135, 240), QStringLiteral("+"))
        ->setFont(F::markFont());
    scrZoom_[1] = bar(F::arrayName("scrZoom", 1), Qt::Vertical, F::rect(2040, 4680, 255, 495), 10);
    f.label(F::arrayName("Label2", 1), F::rect(1920, 5040, 90, 240), QStringLiteral("-"))
        ->setFont(F::markFont());

    f.label(F::arrayName("lblCaption", 8), F::rect(2520, 4560, 405, 195), QStringLiteral("Zoom"),
            F::AutoSize);
    f.label(F::arrayName("Label1", 0), F::rect(3000, 4560, 135, 240), QStringLiteral("+"))
        ->setFont(F::markFont());
    scrZoom_[0] = bar(F::arrayName("scrZoom", 0), Qt::Vertical, F::rect(3120, 4680, 255, 495), 10);
    f.label(F::arrayName("Label2", 0), F::rect(3000, 5040, 90, 240), QStringLiteral("-"))
        ->setFont(F::markFont());

    cmdDraw_ =
        f.button(QStringLiteral("cmdDraw"), F::rect(120, 5400, 855, 375), QStringLiteral("Draw"));
    cmdDraw_->setToolTip(QStringLiteral("Calculate and Plot!"));
    cmdDraw_->setDefault(true);
    cmdSnap_ = f.button(QStringLiteral("cmdSnap"), F::rect(1080, 5400, 2055, 375),
                        QStringLiteral("SnapShot") + QString(18, QLatin1Char(' ')));
    cmdSnap_->setEnabled(false);
    // "Auto" lies in front of the right part of SnapShot and stays usable
    // while the button is disabled.
    chkSnap_ = f.checkBox(QStringLiteral("chkSnap"), F::rect(2280, 5490, 735, 195),
                          QStringLiteral("Auto"), false);
    chkSnap_->raise();
    cmdPause_ =
        f.button(QStringLiteral("cmdPause"), F::rect(240, 5880, 855, 375), QStringLiteral("Pause"));
    cmdPause_->setEnabled(false);
    cmdStop_ =
        f.button(QStringLiteral("cmdStop"), F::rect(1320, 5880, 855, 375), QStringLiteral("Stop"));
    cmdStop_->setEnabled(false);
    cmdClear_ = f.button(QStringLiteral("cmdClear"), F::rect(2400, 5880, 855, 375),
                         QStringLiteral("Clear"));
    // A focused button takes Enter itself, as Space.
    for (QPushButton* b : {cmdDraw_, cmdSnap_, cmdPause_, cmdStop_, cmdClear_, panel_->cmdInertia(),
                           panel_->cmdNormal()})
        b->setAutoDefault(true);
}

void frmGraph::buildTips() {
    DesignForm f(fmeTip_);
    f.label(QStringLiteral("lblEsc"), F::rect(120, 120, 2775, 255),
            QStringLiteral("Esc to Pause / Resume"));
    f.label(QStringLiteral("lblSpaceBar"), F::rect(120, 360, 2775, 255),
            QStringLiteral("Space Bar for highlighted button"));
    f.label(QStringLiteral("Label5"), F::rect(120, 600, 3255, 255),
            QStringLiteral("Axes are to-scale in meters (10 ft = 3.048 m)"));
}

void frmGraph::setTabOrder() {
    // Buttons first, then the tab control's strip and its controls, with
    // "Auto" slipped in after the steering spinner. Each link moves its second
    // control right behind the first, so the chain is laid in one pass.
    QWidgetList chain{cmdDraw_, cmdSnap_, cmdPause_, cmdStop_, cmdClear_};
    for (QWidget* w : panel_->tabChain()) {
        chain << w;
        if (w == panel_->scrSelect(8)) chain << chkSnap_;
    }
    for (qsizetype k = 1; k < chain.size(); ++k)
        QWidget::setTabOrder(chain[k - 1], chain[k]);
}

void frmGraph::wireRunControl() {
    run_ = new RunControl(*this);
}

void frmGraph::setMessageHook(MessageHook hook) {
    panel_->setMessageHook(hook);
    run_->setMessageHook(std::move(hook));
}

void frmGraph::endProgram() {
    closing_ = true;
    QApplication::quit();
}

void frmGraph::mnuExit_Click() {
    endProgram();
}

void frmGraph::mnuAbout_Click() {
    frmAbout::showAbout(this);
}

void frmGraph::Timer1_Timer() {
    splash_.Timer1_Timer(*timer1_, *this);
}

void frmGraph::closeEvent(QCloseEvent* event) {
    endProgram();
    event->accept();
}

void frmGraph::keyPressEvent(QKeyEvent* event) {
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        cmdDraw_->isEnabled() && isEnabled()) {
        cmdDraw_->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void frmGraph::wirePanel() {
    panel_->attach(params_, state_);
    connect(mnuReset_, &QAction::triggered, this, &frmGraph::mnuReset_Click);
    connect(mnuOption_, &QAction::triggered, this, &frmGraph::mnuOption_click);
    Form_Load();
}

void frmGraph::Form_Load() {
    panel_->Form_Load();
}

void frmGraph::mnuReset_Click() {
    panel_->mnuReset_Click();
}

void frmGraph::mnuOption_click() {
    frmOption::showOptions(this, *panel_);
}

} // namespace yawmark
