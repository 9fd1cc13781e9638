#pragma once

#include "motion/LiveImageBuffer.h"
#include "motion/MotionState.h"
#include "motion/PatrolState.h"

#include <QString>

// The process-wide state record beside appConfig(): cleared at start-up before the main window
// is created, then alive for the whole process.
struct ProcessState {
    QString workingDirectory; // recorded once by the main window; the position list file lives there
    LiveImageBuffer picture;  // the live picture, written by its fetches
    MotionState motion;
    PatrolState patrol;
};

ProcessState& processState();

// Clears the record and appConfig() to their start values (zeros and empty texts).
void ClearProcessState();
