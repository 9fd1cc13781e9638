#pragma once

#include <Qt>

#include <cstdint>

// The direction a key steers the head in, or -1 for a key that does not steer. The keypad's
// digits are the head's own (8 up, 6 right, 2 down, 4 left, 5 stop), with NumLock off as well
// (the keypad's arrows and its middle key); Ctrl with an arrow key steers too. The arrow keys
// alone stay the position list's.
int32_t SteeringDirection(int key, Qt::KeyboardModifiers modifiers);
