#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tamboro");
    QMainWindow w;
    w.setWindowTitle("Tamboro");
    w.setFixedSize(792, 553);
    w.show();
    return app.exec();
}
