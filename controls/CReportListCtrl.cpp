#include "controls/CReportListCtrl.h"

#include "controls/ImageList.h"
#include "controls/InfoTipDelegate.h"
#include "controls/ReportListModel.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace {

constexpr uint32_t kSmallIconView = 0x2;
// Whatever style a caller passes, the list stays a scrolling report view without label editing.
constexpr uint32_t kClearedStyles = CReportListCtrl::LVS_NOSCROLL | CReportListCtrl::LVS_EDITLABELS | kSmallIconView;
constexpr uint32_t kForcedStyles = CReportListCtrl::WS_CHILD | CReportListCtrl::WS_VISIBLE | CReportListCtrl::WS_VSCROLL
                                   | CReportListCtrl::WS_HSCROLL | CReportListCtrl::LVS_REPORT;
constexpr uint32_t kForcedExtendedStyles =
    CReportListCtrl::LVS_EX_FULLROWSELECT | CReportListCtrl::LVS_EX_SUBITEMIMAGES;

Qt::Alignment alignmentOf(int format)
{
    switch (format & 0x3) {
    case CReportListCtrl::LVCFMT_RIGHT:
        return Qt::AlignRight;
    case CReportListCtrl::LVCFMT_CENTER:
        return Qt::AlignHCenter;
    default:
        return Qt::AlignLeft;
    }
}

} // namespace

CReportListCtrl::CReportListCtrl(QWidget* parent)
    : QTableView(parent), model_(new ReportListModel(this)), infoTips_(new InfoTipDelegate(this))
{
    setModel(model_);
    setItemDelegate(infoTips_);
    setSelectionBehavior(SelectRows);
    setEditTriggers(NoEditTriggers);
    // Tab moves on to the dialog's next control, not to the next cell.
    setTabKeyNavigation(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setMinimumSectionSize(0);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    applyStyle(0);
    SetExtendedStyle(0);
}

CReportListCtrl::~CReportListCtrl() = default;

bool CReportListCtrl::Create(QWidget* parent, int id, const QRect* rect, uint32_t style)
{
    if (!parent)
        return false;
    setParent(parent);
    setProperty("controlId", id);
    setGeometry(rect ? *rect : parent->rect());
    applyStyle(style);
    // A new list starts with only the extended styles that are always on.
    SetExtendedStyle(0);
    setVisible((style_ & WS_VISIBLE) != 0);
    return true;
}

const ImageList* CReportListCtrl::SetImageList(const ImageList* images)
{
    const ImageList* previous = model_->imageList();
    model_->setImageList(images);
    if (images)
        setIconSize(images->imageSize());
    updateRowHeight();
    return previous;
}

uint32_t CReportListCtrl::SetExtendedStyle(uint32_t exStyle)
{
    const uint32_t previous = exStyle_;
    exStyle_ = exStyle | kForcedExtendedStyles;
    setShowGrid((exStyle_ & LVS_EX_GRIDLINES) != 0);
    horizontalHeader()->setSectionsMovable((exStyle_ & LVS_EX_HEADERDRAGDROP) != 0);
    infoTips_->setInfoTips((exStyle_ & LVS_EX_INFOTIP) != 0);
    updateRowHeight();
    return previous;
}

uint32_t CReportListCtrl::GetExtendedStyle() const
{
    return exStyle_;
}

int CReportListCtrl::InsertColumn(int index, const QString& heading, int format, int width, int /*subItem*/)
{
    const QPalette& colors = palette();
    const int column =
        model_->addColumn(index, heading, alignmentOf(format), colors.color(QPalette::Active, QPalette::Text),
                          colors.color(QPalette::Active, QPalette::Base));
    if (column >= 0 && width >= 0)
        setColumnWidth(column, width);
    return column;
}

int CReportListCtrl::InsertItem(int index, const QString& text, int image)
{
    const QPalette& colors = palette();
    return model_->addRow(index, text, image, colors.color(QPalette::Active, QPalette::Text),
                          colors.color(QPalette::Active, QPalette::Base));
}

bool CReportListCtrl::SetItemText(int row, int column, const QString& text)
{
    return model_->setCellText(row, column, text);
}

QString CReportListCtrl::GetItemText(int row, int column, int maxChars) const
{
    if (maxChars <= 0)
        return {};
    return model_->cellText(row, column).left(maxChars - 1);
}

bool CReportListCtrl::SetItem(int row, int column, uint32_t mask, const QString& text, int image, uint32_t state,
                              uint32_t stateMask, uint32_t lParam)
{
    if (!model_->hasCell(row, column))
        return false;
    if (mask & LVIF_TEXT)
        model_->setCellText(row, column, text);
    if (mask & LVIF_IMAGE)
        model_->setCellImage(row, column, image);
    if (mask & LVIF_STATE)
        setRowState(row, state, stateMask);
    if (mask & LVIF_PARAM)
        model_->setUserData(row, lParam);
    return true;
}

bool CReportListCtrl::DeleteItem(int row, int selectNext)
{
    const bool wasCurrent = currentIndex().isValid() && currentIndex().row() == row;
    if (!model_->removeRow(row))
        return false;
    if (selectNext && row < GetItemCount())
        setRowState(row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    else if (wasCurrent)
        selectionModel()->clearCurrentIndex();
    return true;
}

int CReportListCtrl::DeleteAllItems()
{
    return model_->clear();
}

int CReportListCtrl::GetItemCount() const
{
    return model_->rowCount();
}

uint32_t CReportListCtrl::GetItemState(int row, uint32_t mask) const
{
    const QModelIndex first = model_->index(row, 0);
    if (!first.isValid())
        return 0;
    uint32_t state = 0;
    // Asked of the first cell: a column inserted after the selection was made is not in it.
    if (selectionModel()->isSelected(first))
        state |= LVIS_SELECTED;
    if (currentIndex().isValid() && currentIndex().row() == row)
        state |= LVIS_FOCUSED;
    return state & mask;
}

uint32_t CReportListCtrl::GetItemData(int row) const
{
    const ReportRowData* record = model_->rowData(row);
    return record ? record->dwUserData : 0;
}

int CReportListCtrl::GetItemImage(int row) const
{
    return model_->cellImage(row, 0);
}

const ReportRowData* CReportListCtrl::GetRowData(int row) const
{
    return model_->rowData(row);
}

void CReportListCtrl::keyPressEvent(QKeyEvent* event)
{
    // The space bar would select or toggle the focused row; the list never sees it.
    switch (event->key()) {
    case Qt::Key_Space:
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        emit returnPressed();
        break;
    case Qt::Key_Delete:
        emit deletePressed();
        break;
    default:
        QTableView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void CReportListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit itemDoubleClicked(indexAt(event->position().toPoint()).row());
}

void CReportListCtrl::changeEvent(QEvent* event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateRowHeight();
}

void CReportListCtrl::applyStyle(uint32_t style)
{
    style_ = (style & ~kClearedStyles) | kForcedStyles;
    setSelectionMode(style_ & LVS_SINGLESEL ? SingleSelection : ExtendedSelection);
    horizontalHeader()->setSectionsClickable(!(style_ & LVS_NOSORTHEADER));
    setFrameShape(style_ & WS_BORDER ? QFrame::StyledPanel : QFrame::NoFrame);
    setFocusPolicy(style_ & WS_TABSTOP ? Qt::StrongFocus : Qt::ClickFocus);
}

void CReportListCtrl::setRowState(int row, uint32_t state, uint32_t stateMask)
{
    const QModelIndex first = model_->index(row, 0);
    if (stateMask & LVIS_SELECTED)
        selectionModel()->select(first,
                                 (state & LVIS_SELECTED ? QItemSelectionModel::Select : QItemSelectionModel::Deselect)
                                     | QItemSelectionModel::Rows);
    if (stateMask & LVIS_FOCUSED) {
        if (state & LVIS_FOCUSED)
            selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
        else if (currentIndex().row() == row)
            selectionModel()->clearCurrentIndex();
    }
}

void CReportListCtrl::updateRowHeight()
{
    // One line of text or one image, whichever is taller, a pixel above and below, and the grid line.
    const int grid = showGrid() ? 1 : 0;
    verticalHeader()->setDefaultSectionSize(std::max(fontMetrics().height(), iconSize().height()) + 2 + grid);
}
