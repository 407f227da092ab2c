#include <csignal>

#include "audio_test_support.h"
#include "platform/platform.h"
#include "private_dispatcher.h"

namespace {

using SoundFile = DiskAudio;

TEST_F(SoundFile, IsPlayedWholeBeforeThePlayReturns) {
  WriteTone(440, 400);
  platform::PlaySoundSync(wav_);
  const Samples heard = LeftChannel();
  EXPECT_NEAR(Loud(heard).Seconds(), 0.4, 0.02);
  EXPECT_NEAR(ZeroCrossings(heard, Loud(heard)), 2 * 440 * 0.4, 10);
  ExpectDeviceClosed();
}

TEST_F(SoundFile, LoopSoundsOnThroughSpeechUntilStopped) {
  const PrivateDispatcher refusing({"DisableAutoSpawn"});  // espeak-ng speaks
  Pace("5");
  WriteTone(660, 100);
  platform::PlaySoundLoop(wav_);
  ASSERT_TRUE(WaitFor([this] { return Loud(LeftChannel()).Seconds() > 0.35; }, 20));
  // The phrase ending must not close the device under the loop.
  platform::Voice* voice = platform::CreateVoice();
  ASSERT_NE(voice, nullptr);
  platform::Speak(voice, "1 2 3 4");
  platform::WaitUntilDone(voice);
  platform::ReleaseVoice(voice);
  const std::size_t after_speech = Output().size();
  ASSERT_TRUE(WaitFor([&] { return Output().size() > after_speech + 100000; }, 10));
  platform::StopSound();
  const Samples heard = LeftChannel();
  EXPECT_LT(double(heard.size() - Loud(heard).end) / linux_audio::kDeviceRate, 0.2);
  ExpectDeviceClosed();
}

TEST(SoundDevice, LeavesTerminationSignalsToTheProgram) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        platform::PlaySoundLoop("/nonexistent.wav");
        // The loop starts on a thread of its own; a missing file is known at once.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        std::raise(SIGTERM);
        std::exit(0);
      },
      testing::KilledBySignal(SIGTERM), "");
}

}  // namespace
