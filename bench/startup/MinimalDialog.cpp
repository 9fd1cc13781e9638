// The yardstick: the least a Qt Widgets program does to show a dialog.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Minimal"));
    dialog.show();
    return QApplication::exec();
}
