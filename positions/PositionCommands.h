#pragma once

#include "positions/PositionTexts.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>

class PositionRows;
class QObject;

// The list commands New (300), Update (301), Remove (302) and Edit (400 and the list's double
// click). Each asks its question, acts on the selected position and saves the list file after
// every change; a save that fails shows 1010 and the change stays on screen.
class PositionCommands {
public:
    // Runs the position dialog on the texts; 0 when the operator confirmed them.
    using PositionDialog = std::function<int(PositionTexts&)>;

    // The counters are read once each when a command stores them. Messages belong to `owner`.
    // Without a `listPath` the list is kept on screen only and no file is written.
    PositionCommands(PositionRows& rows, QString listPath, const std::atomic<int32_t>& posX,
                     const std::atomic<int32_t>& posY, PositionDialog positionDialog, QObject* owner);

    void OnPositionNew();
    void OnPositionUpdate();
    void OnPositionRemove();
    void OnPositionEdit(bool automaticMode);

private:
    int selectedPositionOrTell(int messageId) const;
    bool ask(int messageId) const;
    void storeCounters(int row);
    void save();

    PositionRows& rows_;
    QString listPath_;
    const std::atomic<int32_t>& posX_;
    const std::atomic<int32_t>& posY_;
    PositionDialog positionDialog_;
    QObject* owner_;
};
