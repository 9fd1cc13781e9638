#include "app/CSelLangDlg.h"

#include "base/AppConfig.h"
#include "base/Settings.h"
#include "platform/DialogBuilder.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

using namespace Qt::StringLiterals;

namespace {

const DialogTemplate& selLangDlgTemplate()
{
    using K = ControlKind;
    static const DialogTemplate selLangDlg{
        u"Sprache / Language"_s,
        244,
        146,
        {
            {kNoControlId, K::Icon, 110, 13, 0, 0, {}, 107},
            {kNoControlId, K::CentredText, 7, 39, 226, 43,
             u"Pantiro PC 1.000 \n\nBitte wählen Sie eine Sprache aus :\n\nPlease choose a language :"_s},
            {kNoControlId, K::Bitmap, 74, 89, 0, 0, {}, 161},
            {CSelLangDlg::kGermanId, K::AutoRadio, 90, 89, 80, 10, u"Deutsch / Germany"_s},
            {kNoControlId, K::Bitmap, 74, 103, 0, 0, {}, 162},
            {CSelLangDlg::kEnglishId, K::AutoRadio, 90, 103, 80, 10, u"Englisch / English"_s},
            {CSelLangDlg::kOkId, K::DefaultPushButton, 76, 119, 84, 14, u"&OK"_s},
        },
    };
    return selLangDlg;
}

} // namespace

CSelLangDlg::CSelLangDlg(SettingsStore& store, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      store_(store)
{
    BuildDialog(*this, selLangDlgTemplate());
    connect(Control<QPushButton>(*this, kOkId), &QPushButton::clicked, this, &CSelLangDlg::OnOK);
    OnInitDialog();
}

void CSelLangDlg::OnInitDialog()
{
    if (auto* radio = Control<QRadioButton>(*this, kGermanId + appConfig().language))
        radio->setChecked(true);
    // It opens before the main window is shown, so it stands in the middle of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void CSelLangDlg::OnOK()
{
    AppConfig& config = appConfig();
    if (Control<QRadioButton>(*this, kGermanId)->isChecked())
        config.language = 0;
    if (Control<QRadioButton>(*this, kEnglishId)->isChecked())
        config.language = 1;
    SaveLanguage(store_, config.language);
    accept();
}
