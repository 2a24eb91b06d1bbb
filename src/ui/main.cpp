// Program entry.
#include <QApplication>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tamlo");
  std::puts("Tamlo Ver.1.23: the window is not built yet.");
  return 0;
}
