#include <QApplication>
#include <QLabel>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Tankometer: the main window is not built yet."));
    label.setWindowTitle(QStringLiteral("Tankometer"));
    label.show();
    return app.exec();
}
