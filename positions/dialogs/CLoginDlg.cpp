#include "positions/dialogs/CLoginDlg.h"

#include "base/AppConfig.h"
#include "base/LoadText.h"
#include "platform/DialogBuilder.h"
#include "platform/ModalDialog.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int kProgramIcon = 107;
constexpr int kGroupId = 50;
constexpr int kUserLabelId = 60;
constexpr int kPasswordLabelId = 61;
constexpr int kCaptionText = 2048;
constexpr int kStoredText = 2053;

const DialogTemplate& loginDlgTemplate()
{
    using K = ControlKind;
    namespace F = ControlFlag;
    static const DialogTemplate loginDlg{
        u"Anmeldung an der Kamera"_s,
        198,
        105,
        {
            {kGroupId, K::GroupBox, 7, 3, 184, 71, u"Kamera"_s},
            {kUserLabelId, K::Text, 13, 14, 110, 8, u"Benutzername"_s},
            {CLoginDlg::kUserId, K::Edit, 13, 23, 133, 12, {}, 0, F::AutoHScroll, AppConfig::kUserWidth},
            {kPasswordLabelId, K::Text, 13, 38, 110, 8, u"Kennwort"_s},
            {CLoginDlg::kPasswordId,
             K::Edit,
             13,
             47,
             133,
             12,
             {},
             0,
             F::AutoHScroll | F::Password,
             LoginTexts::kPasswordMaxChars},
            {CLoginDlg::kInFileId, K::CheckBox, 13, 61, 175, 10},
            {kNoControlId, K::Icon, 163, 12, 21, 20, {}, kProgramIcon},
            {CLoginDlg::kCancelId, K::PushButton, 7, 84, 50, 14, u"&Abbrechen"_s},
            {CLoginDlg::kOkId, K::DefaultPushButton, 141, 84, 50, 14, u"&OK"_s},
        },
    };
    return loginDlg;
}

const ControlCaption kCaptions[] = {
    {kGroupId, 2049},
    {kUserLabelId, 2050},
    {kPasswordLabelId, 2051},
    {CLoginDlg::kInFileId, 2052},
    {CLoginDlg::kCancelId, 2008},
};

} // namespace

CLoginDlg::CLoginDlg(LoginTexts& texts, int32_t language, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      texts_(texts), language_(language)
{
    BuildDialog(*this, loginDlgTemplate());
    connect(Control<QPushButton>(*this, kOkId), &QPushButton::clicked, this, &CLoginDlg::OnOK);
    connect(Control<QPushButton>(*this, kCancelId), &QPushButton::clicked, this, &QDialog::reject);
    OnInitDialog();
}

void CLoginDlg::OnInitDialog()
{
    setWindowTitle(LoadText(kCaptionText, language_));
    for (const ControlCaption& caption : kCaptions)
        SetControlText(*this, caption.controlId, LoadText(caption.textId, language_));
    SetControlText(*this, kUserId, texts_.user);
    auto* password = Control<QLineEdit>(*this, kPasswordId);
    if (texts_.passwordKnown)
        password->setPlaceholderText(LoadText(kStoredText, language_));
    Control<QCheckBox>(*this, kInFileId)->setChecked(texts_.inFile);
}

void CLoginDlg::OnOK()
{
    texts_.user = ControlText(*this, kUserId).trimmed().left(AppConfig::kUserWidth);
    auto* password = Control<QLineEdit>(*this, kPasswordId);
    texts_.password = password->text();
    // The edit's own copy goes now, not when the dialog is deleted.
    password->clear();
    texts_.inFile = Control<QCheckBox>(*this, kInFileId)->isChecked();
    accept();
}

int RunLoginDialog(LoginTexts& texts, int32_t language, QWidget* parent)
{
    CLoginDlg dialog(texts, language, parent);
    return RunModal(dialog);
}
