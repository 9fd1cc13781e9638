#include "positions/dialogs/CSetupDlg.h"

#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/Settings.h"
#include "base/TextRules.h"
#include "platform/DialogBuilder.h"
#include "platform/IpAddressEdit.h"
#include "platform/ModalDialog.h"
#include "positions/SerialDevices.h"
#include "positions/dialogs/SetupDlgTemplate.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <array>
#include <cstdint>

namespace Id = SetupDlgId;

namespace {

constexpr int kSettingsNotSavedId = 1015;
constexpr int kNoneTextId = 2003;
constexpr int kCaptionId = 2004;
constexpr int kTimeCount = 4;
constexpr int kOptionCount = 3;

// The camera address as the four octets the address control shows: parts between runs of dots,
// each read by the number rule and kept to its low 8 bits, 0 for a missing part.
IpAddressEdit::Octets addressOctets(const QString& address)
{
    IpAddressEdit::Octets octets{};
    const QStringList parts = SplitTokens(address, u'.');
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        octets.at(static_cast<size_t>(i)) = Atoi(parts.at(i)) & 0xFF;
    return octets;
}

std::array<int32_t*, kTimeCount> timeFields(AppConfig& config)
{
    return {&config.dwellMs, &config.cyclePauseSec, &config.zeroDriveExtraSec, &config.referenceDriveSec};
}

std::array<int32_t*, kOptionCount> optionFields(AppConfig& config)
{
    return {&config.driveYPositions, &config.soundSignals, &config.autoStartPatrol};
}

} // namespace

CSetupDlg::CSetupDlg(AppConfig& config, SettingsStore& store, const QStringList& devices, OpenLogin openLogin,
                     QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      config_(config), store_(store)
{
    BuildDialog(*this, SetupDlgTemplate());
    connect(Control<QPushButton>(*this, Id::Ok), &QPushButton::clicked, this, &CSetupDlg::OnOK);
    connect(Control<QPushButton>(*this, Id::Cancel), &QPushButton::clicked, this, &QDialog::reject);
    connect(Control<QPushButton>(*this, Id::Login), &QPushButton::clicked, this,
            [this, openLogin = std::move(openLogin)] { openLogin(this); });
    for (int id : {Id::German, Id::English})
        connect(Control<QRadioButton>(*this, id), &QRadioButton::clicked, this, [this, id] { OnLanguageRadio(id); });
    // The template places the dialog 30 by 30 units into its owner's client area.
    if (parent)
        move(parent->mapToGlobal(DialogUnitsToPixels(30, 30, 0, 0).topLeft()));
    OnInitDialog(devices);
}

void CSetupDlg::OnInitDialog(const QStringList& devices)
{
    setWindowTitle(LoadText(kCaptionId, config_.language));
    for (const ControlCaption& caption : SetupDlgCaptions())
        SetControlText(*this, caption.controlId, LoadText(caption.textId, config_.language));

    auto* ports = Control<QComboBox>(*this, Id::Port);
    ports->addItems(SetupPortEntries(LoadText(kNoneTextId, config_.language), devices, config_.portName));
    auto* bauds = Control<QComboBox>(*this, Id::Baud);
    for (int rate : SetupBaudRates())
        bauds->addItem(QString::number(rate));

    // Only 0 and 1 have a radio button; any other language leaves both unchecked.
    if (config_.language == 0 || config_.language == 1)
        Control<QRadioButton>(*this, Id::German + config_.language)->setChecked(true);

    // Qt::MatchFixedString compares the whole text without regard to case.
    ports->setCurrentIndex(std::max(0, ports->findText(config_.portName, Qt::MatchFixedString)));
    bauds->setCurrentIndex(bauds->findText(QString::number(config_.baudRate), Qt::MatchFixedString));

    Control<IpAddressEdit>(*this, Id::Address)->setAddress(addressOctets(config_.cameraAddress));
    for (int i = 0; i < AppConfig::kCommandCount; ++i)
        SetControlText(*this, Id::Command + i, config_.command(i + 1));
    const auto times = timeFields(config_);
    for (int i = 0; i < kTimeCount; ++i)
        SetControlText(*this, Id::Time + i, QString::number(*times.at(static_cast<size_t>(i))));
    const auto options = optionFields(config_);
    for (int i = 0; i < kOptionCount; ++i)
        Control<QCheckBox>(*this, Id::Option + i)->setChecked(*options.at(static_cast<size_t>(i)) != 0);
}

void CSetupDlg::OnLanguageRadio(int id)
{
    Control<QRadioButton>(*this, id)->setChecked(true);
    Control<QRadioButton>(*this, id == Id::German ? Id::English : Id::German)->setChecked(false);
}

void CSetupDlg::OnOK()
{
    if (Control<QRadioButton>(*this, Id::German)->isChecked())
        config_.language = 0;
    if (Control<QRadioButton>(*this, Id::English)->isChecked())
        config_.language = 1;

    const auto* ports = Control<QComboBox>(*this, Id::Port);
    if (ports->currentIndex() >= 0)
        config_.portName = ports->currentText();
    const auto* bauds = Control<QComboBox>(*this, Id::Baud);
    if (bauds->currentIndex() >= 0)
        config_.baudRate = Atoi(bauds->currentText());

    const IpAddressEdit::Octets octets = Control<IpAddressEdit>(*this, Id::Address)->address();
    config_.cameraAddress = QString::asprintf("%d.%d.%d.%d", octets[0], octets[1], octets[2], octets[3]);

    for (int i = 0; i < AppConfig::kCommandCount; ++i)
        config_.commands.at(static_cast<size_t>(i)) =
            ControlText(*this, Id::Command + i).left(AppConfig::kCommandWidth);
    const auto times = timeFields(config_);
    for (int i = 0; i < kTimeCount; ++i)
        *times.at(static_cast<size_t>(i)) = Atoi(ControlText(*this, Id::Time + i).left(Id::kTimeMaxChars));
    const auto options = optionFields(config_);
    for (int i = 0; i < kOptionCount; ++i)
        *options.at(static_cast<size_t>(i)) = Control<QCheckBox>(*this, Id::Option + i)->isChecked() ? 1 : 0;

    // The values still take effect for this run; the operator learns that the next start will
    // not have them.
    if (!SaveAllSettings(store_, config_))
        MessageBox(this, LoadText(kSettingsNotSavedId, config_.language), MessageButtons::Ok, MessageIcon::Stop);
    accept();
}

int RunSetupDialog(AppConfig& config, SettingsStore& store, CSetupDlg::OpenLogin openLogin, QWidget* parent)
{
    CSetupDlg dialog(config, store, SerialDevicePaths(), std::move(openLogin), parent);
    return RunModal(dialog);
}
