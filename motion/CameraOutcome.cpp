#include "motion/CameraOutcome.h"

std::string DescribeCameraOutcome(const CameraOutcome& outcome)
{
    switch (outcome.kind) {
    case CameraOutcome::Kind::NoCamera:
        return "no camera address";
    case CameraOutcome::Kind::Answered:
        return outcome.status == 200 ? "success" : "HTTP status " + std::to_string(outcome.status);
    case CameraOutcome::Kind::TimedOut:
        return "time-out";
    case CameraOutcome::Kind::Failed:
        return "connection error: " + outcome.error;
    }
    return {};
}
