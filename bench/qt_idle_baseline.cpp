// The least a Qt 6 Widgets program with a one-second timer can cost: an empty
// window named like Quorvel's (so bench/idle.sh and window_wait find it) whose
// timer does nothing. Its numbers are the floor the native program is
// compared with, as bench/idle_baseline.c is Wine's.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("Quorvel");
  // Quorvel's window on the benchmark's display, so that both draw as much.
  window.resize(611, 327);
  QTimer timer;
  timer.start(1000);
  window.show();
  return application.exec();
}
