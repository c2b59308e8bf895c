// Starts the game.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Quorvin 1.0");
    window.show();
    return app.exec();
}
