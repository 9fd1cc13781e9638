#pragma once

#include <cstdint>

// The five commands the head understands. On the serial line each is one digit of a numeric
// keypad laid out as arrows; the camera relays the same digit when it gets Cmd1 ... Cmd5.
enum Direction : int32_t { Stop = 0, Up = 1, Right = 2, Down = 3, Left = 4 };

constexpr int kDirectionCount = 5;

constexpr char kKeypadDigits[kDirectionCount] = {'5', '8', '6', '2', '4'};

constexpr char KeypadDigit(int32_t direction)
{
    return direction >= 0 && direction < kDirectionCount ? kKeypadDigits[direction] : '5';
}

// The direction a keypad digit commands, or -1 for any other byte.
constexpr int32_t DirectionOfDigit(char digit)
{
    for (int32_t d = 0; d < kDirectionCount; ++d)
        if (kKeypadDigits[d] == digit)
            return d;
    return -1;
}

// The arrow controls of the main window and their three icons.
struct ArrowIcons {
    int controlId;
    int idleIcon;
    int pressedIcon;
    int automaticIcon;
};

// Indexed by direction; Stop has no arrow.
constexpr ArrowIcons kArrows[kDirectionCount] = {
    {0, 0, 0, 0},         {201, 179, 178, 185}, // Up
    {202, 175, 174, 184},                       // Right
    {203, 180, 181, 182},                       // Down
    {200, 177, 176, 183},                       // Left
};

// Hit-test order of the arrows: left, up, right, down.
constexpr Direction kArrowHitOrder[4] = {Left, Up, Right, Down};

constexpr int kPositionDisplayX = 220;
constexpr int kPositionDisplayY = 221;
