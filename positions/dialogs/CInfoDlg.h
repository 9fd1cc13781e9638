#pragma once

#include "positions/dialogs/CHLink.h"

#include <QDialog>

// The info dialog (template INFODLG): program name and version, the maker's rights line and two
// contact links. The mail link opens the desktop's mail program and closes the dialog; the web
// link starts the browser and leaves the dialog open.
class CInfoDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kOkId = 1;
    static constexpr int kContactId = 51;
    static constexpr int kMailId = 300;
    static constexpr int kWebId = 301;

    static const QString kMailAddress; // as a mailto: link
    static const QString kWebAddress;
    static const QString kMakerName;
    static const QPoint kMakerNamePos; // client pixels

    explicit CInfoDlg(QWidget* parent);

    // The link on control kMailId or kWebId.
    const CHLink& link(int id) const { return id == kMailId ? mailLink_ : webLink_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void OnInitDialog();
    void OnCommand(int id);
    void OnContactMail();
    void OnContactWeb();

    CHLink mailLink_;
    CHLink webLink_;
};

// Runs the dialog modally; the caller has no use for the result.
void RunInfoDialog(QWidget* parent);
