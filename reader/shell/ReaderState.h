#pragma once
// The reader's process-wide values. One instance lives for the whole process
// and is owned by the user-interface thread; every part that needs one of
// these values is handed a reference to it.

#include "TimeoutSetting.h"

namespace qv {

enum CheckState : int { kCheckIdle = 0, kCheckAutomatic = 1, kCheckManual = 2 };

struct ReaderState {
    int startHidden = 0;  // set by "-A"; cleared when the user shows the window
    int checkState = kCheckIdle;
    int autoCheck = 0;  // the Auto button is on
    int online = 0;
    int intervalIndex = 0;             // 0..5: 10, 20, 30, 60, 90, 120 minutes
    int timeoutMs = kTimeoutAtLoadMs;  // time-out of one web step
};

}  // namespace qv
