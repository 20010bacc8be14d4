// The reference for the cold start: a Qt Widgets program that shows one empty
// dialog of the main dialog's size (at Tahoma's 6 x 13 base units) and ends
// when it is closed.
#include <QApplication>
#include <QDialog>

int main(int argc, char** argv)
{
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Empty window"));
    dialog.setFixedSize(1287, 478);
    dialog.exec();
    return 0;
}
