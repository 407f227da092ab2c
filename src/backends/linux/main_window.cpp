// The main window: one plain top-level widget (a dialog would close on Esc)
// built from the control table, its native events turned into the core's
// window event calls.
#include "backends/linux/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QMetaObject>
#include <QMouseEvent>
#include <QScreen>
#include <QTimeEdit>
#include <QTimer>

#include <map>

#include "platform/control_ids.h"
#include "backends/linux/accessibility.h"
#include "backends/linux/control_widgets.h"
#include "backends/linux/dialog_units.h"
#include "backends/linux/radio_pairs.h"
#include "platform/platform.h"
#include "window/control_table.h"
#include "window/main_window_proc.h"

namespace {

constexpr char kControlIdProperty[] = "quorvelControlId";

// Turns the window's native events into the core's calls.
class EventTranslator : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

struct MainWindowState {
  QWidget* window = nullptr;
  std::map<int, QWidget*> controls;
  // Nothing reaches the core before the window starts running: showing the
  // settings sets controls too.
  bool running = false;
  EventTranslator translator;
};

MainWindowState state;

bool IsInMainWindow(const QWidget* widget) {
  return widget != nullptr && state.window != nullptr && widget->window() == state.window;
}

void Deliver(void (*handler)(int), int control_id) {
  if (state.running) handler(control_id);
}

bool EventTranslator::eventFilter(QObject* watched, QEvent* event) {
  const auto* widget = qobject_cast<const QWidget*>(watched);
  if (!IsInMainWindow(widget)) return false;
  switch (event->type()) {
    case QEvent::Enter:
      Deliver(OnPointerOver, linux_window::ControlIdOf(widget));
      break;
    case QEvent::MouseMove:
      // Tracked on the window only, which so hears of every move, also over
      // controls that pass their moves up: the cursor message of Windows.
      if (widget == state.window) {
        const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
        Deliver(OnPointerOver, linux_window::ControlIdOf(state.window->childAt(at)));
      }
      break;
    case QEvent::Leave:
      // The pointer left the window itself, not for one of its controls
      // (Qt leaves a parent only together with its children): to another
      // program, the panel, or a box come up under it. A hover ends then as
      // it ends over the window's background.
      if (widget == state.window) Deliver(OnPointerOver, 0);
      break;
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
      if (widget == state.window && state.running)
        OnActivation(event->type() == QEvent::WindowActivate);
      break;
    case QEvent::FocusIn:
    case QEvent::FocusOut: {
      const int id = linux_window::ControlIdOf(widget);
      // Before Qt tells a screen reader of the new focus, which then reads
      // the description the core gives the control.
      if (event->type() == QEvent::FocusIn) Deliver(OnFocus, id);
      if (id == AlarmPicker1 || id == AlarmPicker2) Deliver(OnPickerEvent, id);
      break;
    }
    case QEvent::Close:
      // Closing the window ends the program, also from inside an alarm box's
      // loop; the box then goes with it.
      if (widget == state.window) QCoreApplication::quit();
      break;
    default:
      break;
  }
  return false;
}

// Every part of a control (a picker's inner editor, say) tells its id.
void MarkWithId(QWidget* control, int id) {
  control->setProperty(kControlIdProperty, id);
  control->installEventFilter(&state.translator);
  for (QWidget* part : control->findChildren<QWidget*>()) part->installEventFilter(&state.translator);
}

void ConnectActions(QWidget* control, int id) {
  if (auto* button = qobject_cast<QAbstractButton*>(control))
    QObject::connect(button, &QAbstractButton::clicked, [id] { Deliver(OnClick, id); });
  if (auto* picker = qobject_cast<QTimeEdit*>(control))
    QObject::connect(picker, &QTimeEdit::timeChanged, [id] { Deliver(OnPickerEvent, id); });
}

void CentreOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr || !linux_window::CanPlaceWindows()) return;
  QRect frame = window->frameGeometry();
  frame.moveCenter(screen->availableGeometry().center());
  window->move(frame.topLeft());
}

}  // namespace

namespace linux_window {

QWidget* MainWindow() { return state.window; }

QWidget* Control(int control_id) {
  const auto found = state.controls.find(control_id);
  return found == state.controls.end() ? nullptr : found->second;
}

int ControlIdOf(const QWidget* widget) {
  for (; widget != nullptr && widget != state.window; widget = widget->parentWidget()) {
    const QVariant id = widget->property(kControlIdProperty);
    if (id.isValid()) return id.toInt();
  }
  return 0;
}

bool CanPlaceWindows() { return !QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

}  // namespace linux_window

namespace platform {

// One application for the whole process: the window tests build and run the
// window many times over.
void StartWindowSystem(int argc, char** argv) {
  if (QApplication::instance() != nullptr) return;
  static char program_name[] = "quorvel";
  static char* fallback_argv[] = {program_name, nullptr};
  static int kept_argc = argc > 0 ? argc : 1;
  new QApplication(kept_argc, argc > 0 ? argv : fallback_argv);  // lives until the process ends
  QApplication::setApplicationName(QStringLiteral("quorvel"));
  QApplication::setApplicationDisplayName(QStringLiteral("Quorvel"));
  QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));  // names the .desktop file
}

void BuildMainWindow() {
  linux_window::ExposeMainWindowAsFrame();
  // The title bar offers minimise and close, not maximise.
  auto* window = new QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                          Qt::WindowSystemMenuHint |
                                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  state.window = window;
  window->setWindowTitle(QString::fromUtf8(kWindow.title));
  window->setFont(linux_window::WindowFont());
  window->setWindowIcon(linux_window::ProgramIcon());
  window->installEventFilter(&state.translator);
  window->setMouseTracking(true);  // moves over the background end a hover
  const linux_window::BaseUnits units = linux_window::BaseUnitsOf(window->font());
  for (const ControlSpec& spec : kControls) {
    QWidget* control = linux_window::MakeControl(spec, window);
    control->setGeometry(
        linux_window::PixelsOf(units, spec.x, spec.y, spec.width, spec.height));
    state.controls[spec.id] = control;
    MarkWithId(control, spec.id);
    ConnectActions(control, spec.id);
  }
  linux_window::GroupRadioPairs(window);
  window->setFixedSize(
      linux_window::PixelsOf(units, 0, 0, kWindow.width, kWindow.height).size());
}

void RunMainWindow() {
  if (state.window == nullptr) return;
  state.running = true;
  OnWindowStart();
  CentreOnScreen(state.window);
  state.window->show();
  QApplication::exec();
  state.running = false;
}

void ReleaseWindowResources() {
  delete state.window;
  state.window = nullptr;
  state.controls.clear();
}

void StartTimer(int timer_id, unsigned period_ms) {
  auto* timer = new QTimer(state.window);
  timer->setInterval(static_cast<int>(period_ms));
  // Qt delivers no new timeout while this timer's own slot runs, and an
  // alarm box waits inside the tick. A single-shot timer started again first
  // thing in its slot is a fresh timer, free to fire in the box's loop, so the
  // clock goes on while a box is open without a second pass of the loop.
  timer->setSingleShot(true);
  QObject::connect(timer, &QTimer::timeout, [timer, timer_id] {
    timer->start();
    Deliver(OnTimer, timer_id);
  });
  timer->start();
}

}  // namespace platform
