#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Talvenor"));
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("Talvenor"));
    w.resize(1024, 768);
    w.show();
    return app.exec();
}
