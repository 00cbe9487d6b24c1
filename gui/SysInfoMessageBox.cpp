#include "gui/SysInfoMessageBox.h"

#include "gui/AppInfo.h"
#include "gui/SysInfo.h"

#include <QMessageBox>

namespace yawmark {

void SysInfoMessageBox::showUnavailable() {
    QMessageBox box(QMessageBox::NoIcon, appTitle(), sysInfoUnavailableText(), QMessageBox::Ok,
                    parent_);
    box.exec();
}

} // namespace yawmark
