// What the parameter panel shows: the text of each of the nineteen boxes, the
// only copy of the user's unread input, and the state of the five trail
// check boxes.
#pragma once

#include "model/BoxTable.h"

#include <array>
#include <string>

namespace yawmark {

struct BoxTexts {
    std::array<std::string, kBoxCount> txtInput; // box texts, as typed or written
    std::array<int, kWheelBoxCount> chkWheel{};  // 1 ticked, 0 unticked, 2 greyed
};

} // namespace yawmark
