// Without its sound module Quorvel is silent: a line on stderr reaches nobody
// at a desktop, so the window says it too.
#include <QCoreApplication>
#include <QMessageBox>
#include <QMetaObject>

#include <cstdio>
#include <string>

#include "backends/linux/audio_loader.h"
#include "backends/linux/main_window.h"

namespace linux_audio {

void TellNoSound(const std::string& why) {
  std::fprintf(stderr, "quorvel: no sound or speech: %s\n", why.c_str());
  QCoreApplication* application = QCoreApplication::instance();
  if (application == nullptr) return;  // no window (--say-time): the line is the answer
  const QString text = QString::fromStdString(
      "Quorvel cannot play sounds or speak: " + why +
      ".\n\nAlarms still show their box. Reinstalling Quorvel should bring its sound back.");
  // Queued: the first sound may be wanted on a speech thread. Not modal, so
  // that the clock and an alarm's box go on meanwhile.
  QMetaObject::invokeMethod(
      application,
      [text] {
        auto* box = new QMessageBox(QMessageBox::Warning, "Quorvel", text, QMessageBox::Ok,
                                    linux_window::MainWindow());
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
      },
      Qt::QueuedConnection);
}

}  // namespace linux_audio
