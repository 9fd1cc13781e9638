#pragma once

#include "positions/PositionTexts.h"

#include <QDialog>

// The position dialog (template POSDLG): edits a position's name, X text and Y text. OK hands
// the texts back, cut to their limits; Cancel, Escape and the close box leave them as they were.
// OK stays unavailable while the name is empty: an empty name cannot be kept in the list file.
class CPosDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kNameId = 100;
    static constexpr int kXId = 101;
    static constexpr int kYId = 102;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    CPosDlg(PositionTexts& texts, QWidget* parent);

private:
    void OnInitDialog();
    void OnOK();

    PositionTexts& texts_;
};

// Runs the dialog modally on `texts`: 0 after OK, -1 otherwise.
int RunPositionDialog(PositionTexts& texts, QWidget* parent);
