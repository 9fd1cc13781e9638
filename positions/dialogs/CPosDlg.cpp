#include "positions/dialogs/CPosDlg.h"

#include "platform/DialogBuilder.h"
#include "platform/ModalDialog.h"

#include <QLineEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

constexpr int kProgramIcon = 107;

const DialogTemplate& posDlgTemplate()
{
    using K = ControlKind;
    static const DialogTemplate posDlg{
        u"Position"_s,
        198,
        105,
        {
            {kNoControlId, K::GroupBox, 7, 3, 184, 71, u"Bearbeiten"_s},
            {kNoControlId, K::Text, 13, 17, 55, 8, u"Name"_s},
            {CPosDlg::kNameId, K::Edit, 13, 25, 133, 12, {}, 0, 0, PositionTexts::kNameMaxChars},
            {kNoControlId, K::Text, 14, 42, 61, 8, u"X - Pos"_s},
            {CPosDlg::kXId, K::Edit, 14, 50, 65, 12, {}, 0, 0, PositionTexts::kCounterMaxChars},
            {kNoControlId, K::Text, 83, 42, 61, 8, u"Y - Pos"_s},
            {CPosDlg::kYId, K::Edit, 82, 50, 65, 12, {}, 0, 0, PositionTexts::kCounterMaxChars},
            {kNoControlId, K::Icon, 163, 12, 21, 20, {}, kProgramIcon},
            {CPosDlg::kCancelId, K::PushButton, 7, 84, 50, 14, u"&Abbrechen"_s},
            {CPosDlg::kOkId, K::DefaultPushButton, 141, 84, 50, 14, u"&OK"_s},
        },
    };
    return posDlg;
}

} // namespace

CPosDlg::CPosDlg(PositionTexts& texts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      texts_(texts)
{
    BuildDialog(*this, posDlgTemplate());
    auto* ok = Control<QPushButton>(*this, kOkId);
    connect(ok, &QPushButton::clicked, this, &CPosDlg::OnOK);
    connect(Control<QPushButton>(*this, kCancelId), &QPushButton::clicked, this, &QDialog::reject);
    connect(Control<QLineEdit>(*this, kNameId), &QLineEdit::textChanged, ok,
            [ok](const QString& name) { ok->setEnabled(!name.isEmpty()); });
    OnInitDialog();
}

void CPosDlg::OnInitDialog()
{
    SetControlText(*this, kNameId, texts_.name);
    SetControlText(*this, kXId, texts_.x);
    SetControlText(*this, kYId, texts_.y);
    Control<QPushButton>(*this, kOkId)->setEnabled(!texts_.name.isEmpty());
}

void CPosDlg::OnOK()
{
    texts_.name = ControlText(*this, kNameId).left(PositionTexts::kNameMaxChars);
    texts_.x = ControlText(*this, kXId).left(PositionTexts::kCounterMaxChars);
    texts_.y = ControlText(*this, kYId).left(PositionTexts::kCounterMaxChars);
    accept();
}

int RunPositionDialog(PositionTexts& texts, QWidget* parent)
{
    CPosDlg dialog(texts, parent);
    return RunModal(dialog);
}
