#pragma once

#include <QWidget>

class QTextBrowser;
class QUrl;

// A window that shows the bundled help pages; links between pages stay in it, links to the web
// open in the browser.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows the page and brings the window to the front.
    void showPage(const QUrl& page);
    QUrl page() const;

private:
    QTextBrowser* browser_;
};
