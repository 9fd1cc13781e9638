#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <QTableView>

#include <cstdint>

class ImageList;
class ReportListModel;

// One record per row: the user data a caller set with SetItem(LVIF_PARAM), and a text and a
// background colour for every cell (index = column).
struct ReportRowData {
    uint32_t dwUserData = 0;
    QList<QColor> aTextColor;
    QList<QColor> aBackColor;
};

// The position list: a report view with full-row selection, several selectable rows, grid lines,
// a header that neither sorts nor acts as buttons but whose columns can be dragged, cells painted
// in their record's colours, and a space bar that does nothing.
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

    explicit CReportListCtrl(QWidget* parent = nullptr);
    ~CReportListCtrl() override;

    // Places the control in `parent` at `rect` (pixels; the parent's client area when null) with
    // the given style bits, masked to a report view. Returns false on failure.
    bool Create(QWidget* parent, int id, const QRect* rect, uint32_t style);

    // The small-image list (not owned); returns the previous one.
    const ImageList* SetImageList(const ImageList* images);
    // Full-row selection and sub-item images are always added; returns the previous style.
    uint32_t SetExtendedStyle(uint32_t exStyle);
    uint32_t GetExtendedStyle() const;

    int InsertColumn(int index, const QString& heading, int format = 0, int width = -1, int subItem = -1);
    // Returns the new row's index, or -1.
    int InsertItem(int index, const QString& text, int image);
    bool SetItemText(int row, int column, const QString& text);
    // The cell's text cut to maxChars - 1 characters, as a fixed buffer of maxChars would hold it.
    QString GetItemText(int row, int column, int maxChars = 260) const;
    bool SetItem(int row, int column, uint32_t mask, const QString& text, int image, uint32_t state,
                 uint32_t stateMask, uint32_t lParam);
    bool DeleteItem(int row, int selectNext = 0);
    int DeleteAllItems();
    int GetItemCount() const;
    uint32_t GetItemState(int row, uint32_t mask) const;
    uint32_t GetItemData(int row) const;  // the record's dwUserData
    int GetItemImage(int row) const;
    const ReportRowData* GetRowData(int row) const;

signals:
    // A double click on a row (the list's NM_DBLCLK).
    void itemDoubleClicked(int row);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    ReportListModel* model_;
    uint32_t exStyle_ = 0;
};
