#include "positions/dialogs/CInfoDlg.h"

#include "base/LoadText.h"
#include "platform/DialogBuilder.h"
#include "platform/ExternalLaunch.h"
#include "platform/ModalDialog.h"
#include "positions/BrowserCommand.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

using namespace Qt::StringLiterals;

const QString CInfoDlg::kMailAddress = u"mailto:kontakt@korvath.example.com"_s;
const QString CInfoDlg::kWebAddress = u"https://www.korvath.example.com/"_s;
const QString CInfoDlg::kMakerName = u"Korvath"_s;
const QPoint CInfoDlg::kMakerNamePos(85, 127);

namespace {

constexpr int kProgramIcon = 107;
constexpr int kInfoCaptionText = 2010;
constexpr int kContactText = 2001;

const DialogTemplate& infoDlgTemplate()
{
    using K = ControlKind;
    static const DialogTemplate infoDlg{
        u"Info über ..."_s,
        233,
        134,
        {
            {kNoControlId, K::Icon, 7, 7, 20, 20, {}, kProgramIcon},
            {CInfoDlg::kOkId, K::DefaultPushButton, 170, 16, 50, 14, u"&OK"_s},
            {kNoControlId, K::Text, 7, 44, 217, 9, u"Pantiro PC   -  Version 1.001"_s},
            {kNoControlId, K::Text, 7, 56, 215, 8, u"Copyright (C) Korvath. All rights reserved."_s},
            {CInfoDlg::kContactId, K::Text, 7, 80, 41, 8, u"Kontakt:"_s},
            {kNoControlId, K::Text, 7, 99, 46, 8, u"E-Mail"_s},
            {CInfoDlg::kMailId, K::Text, 57, 99, 163, 8, {}},
            {kNoControlId, K::Text, 7, 111, 46, 8, u"Web"_s},
            {CInfoDlg::kWebId, K::Text, 57, 111, 163, 8, {}},
        },
    };
    return infoDlg;
}

} // namespace

CInfoDlg::CInfoDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    BuildDialog(*this, infoDlgTemplate());
    connect(Control<QPushButton>(*this, kOkId), &QPushButton::clicked, this, &QDialog::accept);
    OnInitDialog();
}

void CInfoDlg::OnInitDialog()
{
    mailLink_.attach(*Control<QLabel>(*this, kMailId), kMailId);
    webLink_.attach(*Control<QLabel>(*this, kWebId), kWebId);
    for (const CHLink* link : {&mailLink_, &webLink_})
        connect(link, &CHLink::command, this, &CInfoDlg::OnCommand, Qt::QueuedConnection);
    setWindowTitle(LoadText(kInfoCaptionText));
    SetControlText(*this, kContactId, LoadText(kContactText));
    SetControlText(*this, kMailId, kMailAddress);
    SetControlText(*this, kWebId, kWebAddress);
}

void CInfoDlg::OnCommand(int id)
{
    if (id == kMailId)
        OnContactMail();
    else if (id == kWebId)
        OnContactWeb();
}

void CInfoDlg::OnContactMail()
{
    LaunchExternal({QUrl(kMailAddress), {}, {}});
    accept();
}

// The browsers the configured command names are tried in their order; when none of them starts,
// or none is configured, the desktop opens the address.
void CInfoDlg::OnContactWeb()
{
    for (const BrowserLaunch& browser : BrowserLaunchesFor(qEnvironmentVariable("BROWSER"), kWebAddress)) {
        if (LaunchExternal({{}, browser.program, browser.arguments}))
            return;
    }
    LaunchExternal({QUrl(kWebAddress), {}, {}});
}

void CInfoDlg::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(QColor(0, 0, 255));
    const QFontMetrics metrics(painter.font());
    painter.drawText(kMakerNamePos + QPoint(0, metrics.ascent()), kMakerName);
}

void RunInfoDialog(QWidget* parent)
{
    CInfoDlg dialog(parent);
    RunModal(dialog);
}
