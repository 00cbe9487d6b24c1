// SPDX-License-Identifier: MIT
#include "gui/SplashScreen.h"

#include "gui/AppArt.h"
#include "gui/AppInfo.h"
#include "gui/ClassicFonts.h"
#include "gui/DesignForm.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QSysInfo>

namespace yawmark {

namespace {
// The platform's name as the splash shows it ("Linux", "Windows", ...).
QString platformName() {
    const QString kernel = QSysInfo::kernelType();
    if (kernel == QLatin1String("linux")) return QStringLiteral("Linux");
    if (kernel == QLatin1String("winnt")) return QStringLiteral("Windows");
    if (kernel == QLatin1String("darwin")) return QStringLiteral("macOS");
    if (kernel == QLatin1String("freebsd")) return QStringLiteral("FreeBSD");
    const QString product = QSysInfo::productType();
    return product.isEmpty() ? kernel : product;
}
} // namespace

SplashScreen::SplashScreen(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowIcon(programIcon());
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(DesignForm::rect(0, 0, 7380, 4245).size());
    setFont(dialogFont());

    frame_ = new QFrame(this);
    frame_->setObjectName(QStringLiteral("Frame1"));
    frame_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame_->setGeometry(DesignForm::rect(0, 0, 7320, 4170));
    frame_->installEventFilter(this);

    auto makeLabel = [this](const char* name, const QFont& font, Qt::Alignment align) {
        auto* l = new QLabel(frame_);
        l->setObjectName(QLatin1String(name));
        l->setFont(font);
        l->setAlignment(align | Qt::AlignVCenter);
        return l;
    };

    auto* picture = new QLabel(frame_);
    picture->setObjectName(QStringLiteral("Picture1"));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(2);
    picture->setPixmap(splashPicture());
    // The picture box holds the whole picture inside its sunken border.
    const QRect pic = DesignForm::rect(360, 1320, 3375, 1935);
    picture->setGeometry(QRect(pic.topLeft(), picture->sizeHint()));

    title_ = makeLabel("lblProductName", serifFont(27.75, true), Qt::AlignLeft);
    QLabel* company = makeLabel("lblCompanyProduct", sansFont(18, true), Qt::AlignLeft);
    QLabel* platform = makeLabel("lblPlatform", sansFont(15.75, true), Qt::AlignRight);
    version_ = makeLabel("lblVersion", sansFont(12, true), Qt::AlignRight);
    QLabel* copyright = makeLabel("lblCopyright", sansFont(8.25, false), Qt::AlignRight);
    QLabel* hint = makeLabel("Label1", font(), Qt::AlignLeft);

    platform->setText(platformName());
    copyright->setText(QStringLiteral("Copyright \u00A9 the Yawmark developers"));
    hint->setText(QStringLiteral("Press any key to close this message immediately"));

    loadTexts();

    // Keep the texts off the frame's etched border.
    const QRect inside = frame_->rect().adjusted(4, 4, -4, -4);
    placeLabel(title_, DesignForm::rect(840, 240, 5520, 630), true, inside);
    placeLabel(company, DesignForm::rect(2355, 705, 105, 435), true, inside);
    placeLabel(platform, DesignForm::rect(5115, 2340, 1740, 360), true, inside);
    placeLabel(version_, DesignForm::rect(5520, 2700, 1275, 285), true, inside);
    placeLabel(copyright, DesignForm::rect(4560, 3060, 2415, 255), false, inside);
    placeLabel(hint, DesignForm::rect(3480, 3720, 3495, 255), false, inside);
}

void SplashScreen::loadTexts() {
    version_->setText(versionText());
    title_->setText(appTitle());
}

void SplashScreen::keyPressEvent(QKeyEvent* event) {
    // Only keys that type a character count: letters, digits, Space, Enter,
    // Escape. Shift, arrows and function keys type nothing.
    const QString text = event->text();
    if (!text.isEmpty() && text != QChar(0x7F)) {
        event->accept();
        close();
        return;
    }
    event->ignore();
}

bool SplashScreen::eventFilter(QObject* watched, QEvent* event) {
    if (watched == frame_ && (event->type() == QEvent::MouseButtonPress ||
                              event->type() == QEvent::MouseButtonRelease)) {
        // A click on the picture or a label is passed up to the frame by Qt;
        // only the frame's own surface counts.
        auto* me = static_cast<QMouseEvent*>(event);
        const QPoint pos = me->position().toPoint();
        const bool onSurface = frame_->rect().contains(pos) && !frame_->childAt(pos);
        if (me->button() != Qt::LeftButton) return false;
        if (event->type() == QEvent::MouseButtonPress) {
            pressedOnFrame_ = onSurface;
        } else {
            const bool click = pressedOnFrame_ && onSurface;
            pressedOnFrame_ = false;
            if (click) {
                close();
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace yawmark
