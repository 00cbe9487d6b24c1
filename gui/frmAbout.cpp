#include "gui/frmAbout.h"

#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/ShellTwips.h"
#include "gui/SysInfo.h"

#include <QLabel>
#include <QPalette>
#include <QPushButton>

#include <utility>

namespace yawmark {

namespace {
frmAbout* theAbout = nullptr;

// A straight line drawn as a thin filled strip.
QWidget* makeLine(QWidget* parent, const char* name, QColor colour, QRect geometry) {
    auto* line = new QWidget(parent);
    line->setObjectName(QLatin1String(name));
    QPalette pal = line->palette();
    pal.setColor(QPalette::Window, colour);
    line->setPalette(pal);
    line->setAutoFillBackground(true);
    line->setGeometry(geometry);
    return line;
}

void setBlackText(QLabel* label) {
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(pal);
}
} // namespace

frmAbout* frmAbout::instance(QWidget* owner) {
    if (!theAbout) theAbout = new frmAbout(owner);
    return theAbout;
}

frmAbout* frmAbout::existing() {
    return theAbout;
}

frmAbout* frmAbout::showAbout(QWidget* owner) {
    frmAbout* about = instance(owner);
    about->show();
    about->raise();
    about->activateWindow();
    return about;
}

frmAbout::~frmAbout() {
    if (theAbout == this) theAbout = nullptr;
}

QString frmAbout::descriptionText() {
    return QStringLiteral("Simulates how a vehicle skids when the handbrake is applied, i.e. rear "
                          "wheels locked, but no braking in front wheels.") +
           QString(68, QLatin1Char(' ')) +
           QStringLiteral("Utilizes two-dimensional modeling, i.e. no weight shift.  See "
                          "documentation for details.");
}

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      startSysInfo_([this] { StartSysInfo(this); }) {
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowIcon(programIcon());
    setFixedSize(DesignForm::rect(0, 0, 5730, 3555).size());
    setFont(dialogFont());

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(programIconPixmap(32));
    // Auto-size: the box takes the picture's size.
    picIcon->setGeometry(QRect(DesignForm::rect(240, 240, 540, 540).topLeft(), QSize(32, 32)));

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    setBlackText(lblTitle);
    lblTitle->setGeometry(DesignForm::rect(1050, 240, 3885, 480));
    lblTitle->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(DesignForm::rect(1050, 780, 3885, 225));
    lblVersion->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    setBlackText(lblDescription);
    lblDescription->setTextFormat(Qt::PlainText);
    lblDescription->setWordWrap(true);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setGeometry(DesignForm::rect(1050, 1125, 3885, 1170));
    lblDescription->setText(descriptionText());

    // The etched separator: a grey line with a white one just under it.
    Line1[1] = makeLine(this, "Line1_1", QColor(0x80, 0x80, 0x80), QRect(6, 163, 371, 1));
    Line1[0] = makeLine(this, "Line1_0", Qt::white, QRect(7, 164, 370, 2));

    lblDisclaimer = new QLabel(this);
    lblDisclaimer->setObjectName(QStringLiteral("lblDisclaimer"));
    setBlackText(lblDisclaimer);
    lblDisclaimer->setTextFormat(Qt::PlainText);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDisclaimer->setGeometry(DesignForm::rect(255, 2625, 3870, 825));
    lblDisclaimer->setText(QStringLiteral(
        "Copyright \u00A9 the Yawmark developers. Provided as is, without warranty of any "
        "kind. Questions and reports: yawmark@example.org"));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(DesignForm::rect(4245, 2625, 1260, 345));
    cmdOK->setDefault(true);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(DesignForm::rect(4260, 3075, 1245, 345));

    setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { cmdSysInfo_Click(); });

    Form_Load();
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + appTitle());
    lblVersion->setText(versionText());
    lblTitle->setText(appTitle());
}

void frmAbout::setStartSysInfo(std::function<void()> start) {
    startSysInfo_ = std::move(start);
}

void frmAbout::cmdOK_Click() {
    // Unload: the box is gone for anyone asking, and destroyed once control returns.
    if (theAbout == this) theAbout = nullptr;
    hide();
    deleteLater();
}

void frmAbout::reject() {
    cmdOK_Click();
}

void frmAbout::cmdSysInfo_Click() {
    if (startSysInfo_) startSysInfo_();
}

} // namespace yawmark
