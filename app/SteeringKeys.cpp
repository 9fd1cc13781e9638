#include "app/SteeringKeys.h"

#include "motion/Direction.h"

namespace {

int32_t ArrowKeyDirection(int key)
{
    switch (key) {
    case Qt::Key_Up:
        return Up;
    case Qt::Key_Right:
        return Right;
    case Qt::Key_Down:
        return Down;
    case Qt::Key_Left:
        return Left;
    default:
        return -1;
    }
}

} // namespace

int32_t SteeringDirection(int key, Qt::KeyboardModifiers modifiers)
{
    if (modifiers & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return DirectionOfDigit(static_cast<char>('0' + (key - Qt::Key_0)));
        if (key == Qt::Key_Clear)
            return Stop;
        return ArrowKeyDirection(key);
    }
    return modifiers & Qt::ControlModifier ? ArrowKeyDirection(key) : -1;
}
