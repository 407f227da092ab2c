// The alarm and error boxes, and the open-file dialog.
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>

#include "backends/linux/alarm_notification.h"
#include "backends/linux/main_window.h"
#include "platform/platform.h"

namespace platform {

// Not modal: the main window stays usable and its clock keeps ticking while
// the box waits in a loop of its own, as the alarm needs. Kept on top where
// the window system allows it, and shown as a notification too, which
// reaches the user where the box cannot come forward.
void ShowStopBox(const std::string& text, const std::string& caption) {
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(caption), QString::fromUtf8(text),
                  QMessageBox::Ok);
  box.setWindowModality(Qt::NonModal);  // before the flag: a modality change resets the flags
  box.setWindowFlag(Qt::WindowStaysOnTopHint);
  QEventLoop wait;
  QObject::connect(&box, &QMessageBox::finished, &wait, &QEventLoop::quit);
  box.show();
  linux_window::NotifyWhileOpen(&box);
  wait.exec();
}

// Qt's own dialog, so that it can be placed beside the main window's corner
// (where the window system lets a program place it) and behaves the same on
// every desktop.
std::string ChooseOpenFile(const OpenFileRequest& request) {
  QWidget* owner = linux_window::MainWindow();
  QFileDialog dialog(owner, QString::fromUtf8(request.title),
                     QFile::decodeName(QByteArray::fromStdString(request.initial_folder)));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setNameFilter(QString::fromUtf8(request.filter_description));
  dialog.setDefaultSuffix(QString::fromUtf8(request.default_extension));
  if (owner != nullptr && linux_window::CanPlaceWindows()) dialog.move(owner->pos() + QPoint(30, 30));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return "";
  return QFile::encodeName(dialog.selectedFiles().first()).toStdString();
}

}  // namespace platform
