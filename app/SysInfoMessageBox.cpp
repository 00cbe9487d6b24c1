#include "app/SysInfoMessageBox.h"

#include "app/AppInfo.h"
#include "app/SysInfo.h"

#include <QMessageBox>

namespace yawmark {

void SysInfoMessageBox::showUnavailable() {
    QMessageBox box(QMessageBox::NoIcon, appTitle(), sysInfoUnavailableText(), QMessageBox::Ok,
                    parent_);
    box.exec();
}

} // namespace yawmark
