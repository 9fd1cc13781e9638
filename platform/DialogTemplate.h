#pragma once

#include <QList>
#include <QRect>
#include <QString>

// A dialog described the way its resource template describes it: controls at positions and
// sizes in dialog units, found later by their numeric IDs.

enum class ControlKind {
    GroupBox,
    Text,        // static text, left-aligned
    CentredText, // static text, centred
    Icon,        // static showing an icon resource; takes the icon's size
    Bitmap,      // static showing a bitmap resource; takes the bitmap's size
    PushButton,
    DefaultPushButton,
    AutoRadio, // checks itself and unchecks its siblings
    Radio,     // checked only by the dialog's own code
    CheckBox,
    Edit,
    DropDownList,
    IpAddress, // four fields of 0 to 255
};

namespace ControlFlag {
constexpr unsigned Disabled = 0x1;
constexpr unsigned DigitsOnly = 0x2;  // Edit: only digits can be typed
constexpr unsigned AutoHScroll = 0x4; // Edit: without it typing stops at the visible width
constexpr unsigned Notify = 0x8;      // statics: take mouse input instead of passing it on
constexpr unsigned Password = 0x10;   // Edit: shows bullets, never the text
} // namespace ControlFlag

constexpr int kNoControlId = -1;

struct ControlSpec {
    int id = kNoControlId;
    ControlKind kind = ControlKind::Text;
    int x = 0; // dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    QString text = {};
    int picture = 0;    // Icon and Bitmap: the resource ID
    unsigned flags = 0; // ControlFlag bits
    int maxLength = 0;  // Edit: 0 leaves the platform's limit
};

// A control and the string ID of the caption that a dialog gives it in the current language.
struct ControlCaption {
    int controlId;
    int textId;
};

struct DialogTemplate {
    QString caption;
    int width = 0; // dialog units
    int height = 0;
    QList<ControlSpec> controls;
};

// One dialog unit is 1.5 pixels across and 1.625 pixels down (an 8-point sans font at 96 DPI);
// each value is converted on its own and rounded, as the platform's dialog manager does.
int DialogUnitsToPixelsX(int units);
int DialogUnitsToPixelsY(int units);
QRect DialogUnitsToPixels(int x, int y, int width, int height);
