#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class SettingsStore;
struct AppConfig;

// The settings dialog (template SETUPDLG): language, port and baud rate, camera address, the
// eight command texts, the four patrol times and the three options. OK copies every value into
// the configuration and writes all of them to the store at once; Cancel, Escape and the close
// box change and write nothing. "Login ..." opens the camera's login dialog, whose OK takes effect
// at once, whatever becomes of the settings dialog.
class CSetupDlg : public QDialog {
    Q_OBJECT
public:
    using OpenLogin = std::function<void(QWidget* over)>;

    // `devices` are the serial devices offered after "COM1" ... "COM9".
    CSetupDlg(AppConfig& config, SettingsStore& store, const QStringList& devices, OpenLogin openLogin,
              QWidget* parent);

private:
    void OnInitDialog(const QStringList& devices);
    void OnLanguageRadio(int id);
    void OnOK();

    AppConfig& config_;
    SettingsStore& store_;
};

// Runs the dialog modally over the serial devices plugged in now: 0 after OK, -1 otherwise.
int RunSetupDialog(AppConfig& config, SettingsStore& store, CSetupDlg::OpenLogin openLogin, QWidget* parent);
