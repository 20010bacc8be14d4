// The reference for the cold start: a Qt Widgets program that shows one empty
// dialog of the main dialog's size (at Tahoma's 6 x 13 base units) and ends
// when it is closed. With --label it also holds one line of text, laid out
// before the window is shown: the least that a window with text pays (the
// font configuration read, one face loaded, one text shaped).
#include <QApplication>
#include <QDialog>
#include <QLabel>

#include <cstring>

int main(int argc, char** argv)
{
    const bool label = argc > 1 && std::strcmp(argv[1], "--label") == 0;
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication application(qtArgc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Empty window"));
    dialog.setFixedSize(1287, 478);
    if (label) {
        auto* text = new QLabel(QStringLiteral("Expected height:"), &dialog);
        text->setGeometry(QRect(QPoint(48, 6), text->sizeHint()));
    }
    dialog.exec();
    return 0;
}
