// The yardsticks: the least a Qt Widgets program does to show a dialog. Plain, it shows one line
// of text and one button, so it pays for fonts as any real window does; with --empty it shows
// the bare dialog.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    if (QApplication::arguments().contains(QStringLiteral("--empty"))) {
        dialog.setWindowTitle(QStringLiteral("Empty"));
    } else {
        dialog.setWindowTitle(QStringLiteral("Minimal"));
        auto* layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLabel(QStringLiteral("One line of text"), &dialog));
        layout->addWidget(new QPushButton(QStringLiteral("OK"), &dialog));
    }
    dialog.show();
    return QApplication::exec();
}
