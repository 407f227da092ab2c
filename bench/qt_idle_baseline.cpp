// The least a Qt 6 Widgets program with a one-second timer can cost: an empty
// window named like Quorvel's (so bench/idle.sh and window_wait find it) whose
// timer does nothing. Its numbers are the floor the native program is
// compared with, as bench/idle_baseline.c is Wine's. Built with
// QUORVEL_FLOOR_DRAWS_TEXT, the window also shows "12:34" in 48-point digits,
// as the program's time does: what drawing any text at all costs.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QWidget window;
  window.setWindowTitle("Quorvel");
  // Quorvel's window on the benchmark's display, so that both draw as much.
  window.resize(611, 327);
#ifdef QUORVEL_FLOOR_DRAWS_TEXT
  QLabel time(QStringLiteral("12:34"), &window);
  QFont digits = time.font();
  digits.setPointSize(48);
  time.setFont(digits);
  time.adjustSize();
#endif
  QTimer timer;
  timer.start(1000);
  window.show();
  return application.exec();
}
