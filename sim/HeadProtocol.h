#pragma once

#include <QString>

#include <optional>

// What the simulator knows of its peer's protocol, written down here from the description of
// the head and the camera and on purpose shared with nothing of Pantiro's own: as Pantiro's
// test peer, the simulator must not agree with a mistake in Pantiro's reading of it.

// The head: one byte per command on its serial line, the digits of a numeric keypad read as
// arrows. Every other byte is ignored.
enum class HeadMotion { Stop, Up, Right, Down, Left };

constexpr std::optional<HeadMotion> HeadMotionOfByte(char byte)
{
    switch (byte) {
    case '5':
        return HeadMotion::Stop;
    case '8':
        return HeadMotion::Up;
    case '6':
        return HeadMotion::Right;
    case '2':
        return HeadMotion::Down;
    case '4':
        return HeadMotion::Left;
    default:
        return std::nullopt;
    }
}

// "stop", "up", "right", "down" or "left", as the state report names them.
inline QString HeadMotionName(HeadMotion motion)
{
    switch (motion) {
    case HeadMotion::Up:
        return QStringLiteral("up");
    case HeadMotion::Right:
        return QStringLiteral("right");
    case HeadMotion::Down:
        return QStringLiteral("down");
    case HeadMotion::Left:
        return QStringLiteral("left");
    case HeadMotion::Stop:
        break;
    }
    return QStringLiteral("stop");
}

// The camera's HTTP paths: its current picture, and the control path whose action either relays
// text to the head's serial line or records a user click (the camera stores a picture).
namespace CameraPath {
constexpr const char* kPicture = "/record/current.jpg";
constexpr const char* kControl = "/control/rcontrol";
constexpr const char* kActionParameter = "action";
constexpr const char* kRelayAction = "putrs232";
constexpr const char* kRelayTextParameter = "rs232outtext";
constexpr const char* kClickAction = "userclick";
} // namespace CameraPath
