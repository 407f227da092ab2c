// Browse through the real open-file dialog: a scripted choice, and the box
// that refuses what is no WAV file.
#include <QFileDialog>
#include <QRadioButton>

#include <filesystem>

#include "backends/linux/window/window_session.h"

namespace {

class Browse : public LinuxWindow {
 protected:
  void SetUp() override {
    LinuxWindow::SetUp();
    char pattern[] = "/tmp/quorvel-browse-XXXXXX";
    folder_ = ::mkdtemp(pattern);
    for (const char* name : {"chimes.wav", "song.mp3"})
      std::ofstream(folder_ + "/" + name) << "RIFF";
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    LinuxWindow::TearDown();
  }

  // Answers the dialog the next Browse opens with `file`, and any refusal box.
  void AnswerWith(const std::string& file) {
    QTimer::singleShot(0, [this, file] {
      QFileDialog* dialog = nullptr;
      ASSERT_TRUE(QTest::qWaitFor([&] {
        return (dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) != nullptr;
      }, 3000));
      asked_title_ = dialog->windowTitle().toStdString();
      asked_folder_ = dialog->directory().absolutePath().toStdString();
      asked_filters_ = dialog->nameFilters().join('|').toStdString();
      offset_ = dialog->pos() - linux_window::MainWindow()->pos();
      QTimer::singleShot(0, [this] {
        if (QTest::qWaitFor([this] { return (refusal_ = OpenBox("Error")) != nullptr; }, 1000)) {
          refusal_text_ = refusal_->text().toStdString();
          Dismiss(refusal_);
        }
      });
      dialog->selectFile(QString::fromStdString(folder_ + "/" + file));
      QMetaObject::invokeMethod(dialog, "accept");
    });
  }

  std::string folder_, asked_title_, asked_folder_, asked_filters_, refusal_text_;
  QPoint offset_;
  QMessageBox* refusal_ = nullptr;
};

TEST_F(Browse, AChosenWavIsPreviewedShownSelectedAndSaved) {
  Run([this] {
    AnswerWith("chimes.wav");
    ClickOn(1022);
    EXPECT_EQ(asked_title_, "Please select a sound effect");
    std::string sounds = platform::SoundFolder();
    sounds.pop_back();
    EXPECT_EQ(asked_folder_, sounds);
    EXPECT_EQ(asked_filters_, "WAV files (*.wav)");
    EXPECT_EQ(offset_, QPoint(30, 30));
    EXPECT_TRUE(test_machine::Called("PlaySoundSync " + folder_ + "/chimes.wav"));
    EXPECT_EQ(TextOf(1018), "chimes");
    EXPECT_TRUE(ControlAs<QRadioButton>(1021)->isChecked());
    EXPECT_TRUE(FileHasLine("SFXSayAscending: " + folder_ + "/chimes.wav"));
    EXPECT_TRUE(FileHasLine("SpeakSayAscending: 0"));
  });
}

TEST_F(Browse, WhatIsNoWavFileIsRefusedAndChangesNothing) {
  Run([this] {
    AnswerWith("song.mp3");
    ClickOn(1026);
    EXPECT_EQ(refusal_text_,
              "Sorry, I'm a bit stupid and only know how to play old-fashioned WAV files.");
    EXPECT_EQ(TextOf(1023), "");
    EXPECT_TRUE(ControlAs<QRadioButton>(1024)->isChecked());
    EXPECT_TRUE(test_machine::Calls().empty());
    EXPECT_EQ(SettingsFileOnDisk(), "");
  });
}

}  // namespace
