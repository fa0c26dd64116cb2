#include <QApplication>
#include <QMainWindow>
#include <clocale>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // Qt sets the C locale from the environment; the core parses and prints numbers itself
  // and must always see "." in the C library.
  std::setlocale(LC_NUMERIC, "C");
  QApplication::setApplicationName("Tolmex");
  QMainWindow w;
  w.setWindowTitle("Tolmex");
  w.show();
  return app.exec();
}
