#pragma once

class CReportListCtrl;
class ImageList;
class QWidget;

// The position list of the main window: control 600 with its three columns and the three fixed
// rows of the patrol's steps (reference drive, drive to zero, pause). Null when the control
// cannot be created.
CReportListCtrl* CreatePositionList(QWidget& window, const ImageList& images);

// Names the fixed rows in the current language.
void NameFixedRows(CReportListCtrl& list);
