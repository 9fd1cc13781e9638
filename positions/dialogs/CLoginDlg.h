#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>

// What the login dialog shows and hands back.
struct LoginTexts {
    static constexpr int kPasswordMaxChars = 255;

    QString user;
    QString password;           // typed in; empty keeps the stored one. The caller wipes it.
    bool inFile = false;        // in the file readable only by the user, not in the keyring
    bool passwordKnown = false; // a password is stored: the empty field says so
};

// The login dialog (template LOGINDLG), opened from the settings dialog: the camera's user name,
// its password (never shown, and never filled in: an empty field keeps the stored one) and where
// the password is kept. OK hands the texts back; Cancel, Escape and the close box change nothing.
class CLoginDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kUserId = 100;
    static constexpr int kPasswordId = 101;
    static constexpr int kInFileId = 102;
    static constexpr int kOkId = 1;
    static constexpr int kCancelId = 2;

    CLoginDlg(LoginTexts& texts, int32_t language, QWidget* parent);

private:
    void OnInitDialog();
    void OnOK();

    LoginTexts& texts_;
    int32_t language_;
};

// Runs the dialog modally on `texts`: 0 after OK, -1 otherwise.
int RunLoginDialog(LoginTexts& texts, int32_t language, QWidget* parent);
