#pragma once

#include <QDialog>

class SettingsStore;

// The language dialog of the first start (template SELLANGDLG). OK sets the language from the
// checked radio button and stores it as "Language"; Cancel, Escape and the close box change and
// store nothing.
class CSelLangDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kGermanId = 100;
    static constexpr int kEnglishId = 101;
    static constexpr int kOkId = 1;

    CSelLangDlg(SettingsStore& store, QWidget* parent);

private:
    void OnInitDialog();
    void OnOK();

    SettingsStore& store_;
};
