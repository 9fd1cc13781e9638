#pragma once

// What the patrol shows in the main window besides the arrows and the list rows.
class PatrolView {
public:
    virtual ~PatrolView() = default;
    virtual void setButtonEnabled(int controlId, bool enabled) = 0;
    // The lamp 180 shows this bitmap: 167 while the patrol runs, 168 while it is stopped.
    virtual void setLamp(int bitmapId) = 0;
};
