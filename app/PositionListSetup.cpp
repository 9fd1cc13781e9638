#include "app/PositionListSetup.h"

#include "app/AppDlgTemplate.h"
#include "base/LoadText.h"
#include "base/TextRules.h"
#include "controls/CReportListCtrl.h"
#include "platform/DialogBuilder.h"

#include <QRect>

namespace {

using L = CReportListCtrl;

constexpr uint32_t kListStyle = L::WS_CHILD | L::WS_BORDER | L::WS_VSCROLL | L::WS_TABSTOP | L::LVS_NOSORTHEADER
                                | L::LVS_SHOWSELALWAYS | L::LVS_REPORT;
constexpr uint32_t kListExStyle = L::LVS_EX_GRIDLINES | L::LVS_EX_SUBITEMIMAGES | L::LVS_EX_HEADERDRAGDROP
                                  | L::LVS_EX_FULLROWSELECT | L::LVS_EX_INFOTIP;

// In pixels of the window's client area: left 232, top 25, right 453, bottom 290.
const QRect kListRect(QPoint(232, 25), QSize(453 - 232, 290 - 25));

struct Column {
    int textId;
    int width;
};
constexpr Column kColumns[] = {{2012, 100}, {2013, 50}, {2014, 50}};

struct FixedRow {
    int textId;
    int image;
};
constexpr FixedRow kFixedRows[] = {{2015, 10}, {2016, 10}, {2017, 6}};

} // namespace

CReportListCtrl* CreatePositionList(QWidget& window, const ImageList& images)
{
    auto* list = new CReportListCtrl(&window);
    if (!list->Create(&window, AppDlgId::PositionList, &kListRect, kListStyle)) {
        delete list;
        return nullptr;
    }
    list->SetImageList(&images);
    list->SetExtendedStyle(list->GetExtendedStyle() | kListExStyle);
    list->setFont(DialogFont());
    int column = 0;
    for (const Column& entry : kColumns)
        list->InsertColumn(column++, LoadText(entry.textId), L::LVCFMT_LEFT, entry.width);
    int row = 0;
    for (const FixedRow& entry : kFixedRows) {
        list->InsertItem(row, LoadText(entry.textId), entry.image);
        list->SetItemText(row, 1, FormatCounter(0));
        list->SetItemText(row, 2, FormatCounter(0));
        ++row;
    }
    return list;
}

void NameFixedRows(CReportListCtrl& list)
{
    int row = 0;
    for (const FixedRow& entry : kFixedRows)
        list.SetItemText(row++, 0, LoadText(entry.textId));
}
