#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorvale"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Dorvale"));
    window.resize(960, 640);
    window.show();
    return QApplication::exec();
}
