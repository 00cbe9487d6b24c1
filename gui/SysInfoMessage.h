// How the About box tells the user that there is no system information tool.
#pragma once

namespace yawmark {

class SysInfoMessage {
public:
    virtual ~SysInfoMessage() = default;

    // Says "System Information Is Unavailable At This Time" with an OK button.
    virtual void showUnavailable() = 0;
};

} // namespace yawmark
