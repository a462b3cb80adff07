#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("CORVALE - Abbigliamento & Calzature"));
    QMainWindow w;
    w.setWindowTitle(QApplication::applicationName());
    w.showMaximized();
    return app.exec();
}
