#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTableView>

#include <cstdint>

class ImageList;
class InfoTipDelegate;
class ReportListModel;

// One record per row: the user data a caller set with SetItem(LVIF_PARAM), and a text and a
// background colour for every cell (index = column). New entries take the list's text and base
// colours of that moment; a later change of the palette leaves them as they are.
struct ReportRowData {
    uint32_t dwUserData = 0;
    QList<QColor> aTextColor;
    QList<QColor> aBackColor;
};

// The position list: a report view with full-row selection, several selectable rows, grid lines,
// a header that neither sorts nor acts as buttons but whose columns can be dragged, cells painted
// in their record's colours, and a space bar that does nothing; Enter and Delete are left to the
// owner. The selection stays visible while
// the list has no focus, whatever LVS_SHOWSELALWAYS says.
class CReportListCtrl : public QTableView {
    Q_OBJECT
public:
    // Item masks and states, as the list-view interface numbers them.
    static constexpr uint32_t LVIF_TEXT = 0x1;
    static constexpr uint32_t LVIF_IMAGE = 0x2;
    static constexpr uint32_t LVIF_PARAM = 0x4;
    static constexpr uint32_t LVIF_STATE = 0x8;
    static constexpr uint32_t LVIS_SELECTED = 0x2;
    static constexpr uint32_t LVIS_FOCUSED = 0x1;

    // Window and list styles, as the list-view interface numbers them. Create() clears
    // LVS_NOSCROLL, LVS_EDITLABELS and the icon-view bit, and sets WS_CHILD, WS_VISIBLE, both
    // scroll bars and LVS_REPORT.
    static constexpr uint32_t WS_CHILD = 0x40000000;
    static constexpr uint32_t WS_VISIBLE = 0x10000000;
    static constexpr uint32_t WS_BORDER = 0x00800000;
    static constexpr uint32_t WS_VSCROLL = 0x00200000;
    static constexpr uint32_t WS_HSCROLL = 0x00100000;
    static constexpr uint32_t WS_TABSTOP = 0x00010000;
    static constexpr uint32_t LVS_REPORT = 0x1;
    static constexpr uint32_t LVS_SINGLESEL = 0x4;
    static constexpr uint32_t LVS_SHOWSELALWAYS = 0x8;
    static constexpr uint32_t LVS_EDITLABELS = 0x200;
    static constexpr uint32_t LVS_NOSCROLL = 0x2000;
    static constexpr uint32_t LVS_NOSORTHEADER = 0x8000;
    // Extended styles; the last two are always on.
    static constexpr uint32_t LVS_EX_GRIDLINES = 0x1;
    static constexpr uint32_t LVS_EX_HEADERDRAGDROP = 0x10;
    static constexpr uint32_t LVS_EX_INFOTIP = 0x400;
    static constexpr uint32_t LVS_EX_SUBITEMIMAGES = 0x2;
    static constexpr uint32_t LVS_EX_FULLROWSELECT = 0x20;
    // Column formats.
    static constexpr int LVCFMT_LEFT = 0x0;
    static constexpr int LVCFMT_RIGHT = 0x1;
    static constexpr int LVCFMT_CENTER = 0x2;

    explicit CReportListCtrl(QWidget* parent = nullptr);
    ~CReportListCtrl() override;

    // Places the control in `parent` at `rect` (pixels; the parent's client area when null) with
    // the given style bits, masked to a report view. Returns false without a parent. The id is
    // kept as the dynamic property "controlId", by which dialogs find their controls.
    bool Create(QWidget* parent, int id, const QRect* rect, uint32_t style);
    uint32_t GetStyle() const { return style_; }

    // The small-image list (not owned); returns the previous one.
    const ImageList* SetImageList(const ImageList* images);
    // Full-row selection and sub-item images are always added; returns the previous style.
    uint32_t SetExtendedStyle(uint32_t exStyle);
    uint32_t GetExtendedStyle() const;

    // Returns the new column's index, or -1. A width of -1 leaves the default width. Cells belong
    // to the column at their index and move with it, so `subItem` changes nothing.
    int InsertColumn(int index, const QString& heading, int format = 0, int width = -1, int subItem = -1);
    // Returns the new row's index, or -1.
    int InsertItem(int index, const QString& text, int image);
    bool SetItemText(int row, int column, const QString& text);
    // The cell's text cut to maxChars - 1 characters, as a fixed buffer of maxChars would hold it.
    QString GetItemText(int row, int column, int maxChars = 260) const;
    bool SetItem(int row, int column, uint32_t mask, const QString& text, int image, uint32_t state, uint32_t stateMask,
                 uint32_t lParam);
    // With selectNext non-zero the row that moves into the deleted row's place is selected and
    // focused; with 0 no row takes over the selection or the focus.
    bool DeleteItem(int row, int selectNext = 0);
    // Returns how many rows there were.
    int DeleteAllItems();
    int GetItemCount() const;
    uint32_t GetItemState(int row, uint32_t mask) const;
    uint32_t GetItemData(int row) const; // the record's dwUserData
    int GetItemImage(int row) const;
    // Null for a row that does not exist; valid until rows or columns change.
    const ReportRowData* GetRowData(int row) const;

signals:
    // A double click with the left button on the list (the list's NM_DBLCLK); row is -1 when it
    // hit no row.
    void itemDoubleClicked(int row);
    // Enter or Return on the list: the keyboard's double click.
    void returnPressed();
    // The Delete key on the list.
    void deletePressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void applyStyle(uint32_t style);
    void setRowState(int row, uint32_t state, uint32_t stateMask);
    void updateRowHeight();

    ReportListModel* model_;
    InfoTipDelegate* infoTips_;
    uint32_t style_ = 0;
    uint32_t exStyle_ = 0;
};
