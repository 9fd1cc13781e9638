#include "positions/PositionCommands.h"

#include "base/LoadText.h"
#include "base/MessageBox.h"
#include "base/PositionRows.h"
#include "base/TextRules.h"
#include "positions/ListFileText.h"
#include "positions/PositionListFile.h"
#include "positions/SelectedPosition.h"

#include <utility>

namespace {

constexpr int kAskNew = 1005;
constexpr int kSelectToRemove = 1006;
constexpr int kAskRemove = 1007;
constexpr int kAskUpdate = 1008;
constexpr int kSelectToUpdate = 1009;
constexpr int kCannotCreateFile = 1010;
constexpr int kSelectToEdit = 1011;
constexpr int kNoEditInAutomaticMode = 1012;
constexpr int kNewPositionName = 2018;

// A name is kept on one line of the list file: TABs would split it into fields.
QString NameWithoutTabs(QString name)
{
    return name.replace(u'\t', u' ');
}

} // namespace

PositionCommands::PositionCommands(PositionRows& rows, QString listPath, const std::atomic<int32_t>& posX,
                                   const std::atomic<int32_t>& posY, PositionDialog positionDialog, QObject* owner)
    : rows_(rows), listPath_(std::move(listPath)), posX_(posX), posY_(posY),
      positionDialog_(std::move(positionDialog)), owner_(owner)
{
}

void PositionCommands::OnPositionNew()
{
    if (!ask(kAskNew))
        return;
    const int row = rows_.insertRow(rows_.rowCount(), LoadText(kNewPositionName), kPositionRowImage);
    if (row < 0)
        return;
    storeCounters(row);
    save();
}

void PositionCommands::OnPositionUpdate()
{
    const int row = selectedPositionOrTell(kSelectToUpdate);
    if (row < 0 || !ask(kAskUpdate))
        return;
    storeCounters(row);
    save();
}

void PositionCommands::OnPositionRemove()
{
    const int row = selectedPositionOrTell(kSelectToRemove);
    if (row < 0 || !ask(kAskRemove))
        return;
    rows_.deleteRow(row);
    save();
}

void PositionCommands::OnPositionEdit(bool automaticMode)
{
    if (automaticMode) {
        MessageBox(owner_, LoadText(kNoEditInAutomaticMode), MessageButtons::Ok, MessageIcon::Stop);
        return;
    }
    const int row = selectedPositionOrTell(kSelectToEdit);
    if (row < 0)
        return;
    const QString name = rows_.cellText(row, PositionRows::kNameColumn, kListPieceMaxChars + 1);
    PositionTexts texts{
        CutWithoutSplitting(name, PositionTexts::kNameMaxChars),
        rows_.cellText(row, PositionRows::kXColumn, PositionTexts::kCounterMaxChars + 1),
        rows_.cellText(row, PositionRows::kYColumn, PositionTexts::kCounterMaxChars + 1),
    };
    const QString nameShown = texts.name;
    if (positionDialog_(texts) != 0)
        return;
    // The dialog holds fewer characters than a name from the file may have; a name the operator
    // left as it was keeps the rest.
    if (texts.name != nameShown)
        rows_.setCellText(row, PositionRows::kNameColumn, NameWithoutTabs(texts.name));
    rows_.setCellText(row, PositionRows::kXColumn, FormatCounter(Atoi(texts.x)));
    rows_.setCellText(row, PositionRows::kYColumn, FormatCounter(Atoi(texts.y)));
    save();
}

int PositionCommands::selectedPositionOrTell(int messageId) const
{
    const int row = FindSelectedPosition(rows_);
    if (row < 0)
        MessageBox(owner_, LoadText(messageId), MessageButtons::Ok, MessageIcon::Information);
    return row;
}

bool PositionCommands::ask(int messageId) const
{
    return MessageBox(owner_, LoadText(messageId), MessageButtons::YesNo, MessageIcon::Question) == MessageAnswer::Yes;
}

void PositionCommands::storeCounters(int row)
{
    rows_.setCellText(row, PositionRows::kXColumn, FormatCounter(posX_.load()));
    rows_.setCellText(row, PositionRows::kYColumn, FormatCounter(posY_.load()));
}

void PositionCommands::save()
{
    if (listPath_.isEmpty())
        return;
    if (!SavePositionList(listPath_, rows_))
        MessageBox(owner_, LoadText(kCannotCreateFile), MessageButtons::Ok, MessageIcon::Stop);
}
