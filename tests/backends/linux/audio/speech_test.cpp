#include <sys/stat.h>

#include <atomic>

#include "audio_test_support.h"
#include "platform/platform.h"
#include "private_dispatcher.h"
#include "speech_task.h"

namespace {

// Each voice waits for its own utterance; the device closes only after both.
TEST_F(DiskAudio, TwoVoicesSpeakingAtOnceAreBothHeardToTheEnd) {
  const PrivateDispatcher refusing({"DisableAutoSpawn"});  // espeak-ng speaks
  Pace("5");
  std::atomic<int> finished{0};
  const auto say = [&finished] { finished += SayAsASpeechTask("1 2 3 4"); };
  std::thread first(say);
  std::thread second(say);
  first.join();
  second.join();
  const double seconds = Loud(LeftChannel()).Seconds();
  EXPECT_EQ(finished, 2);
  EXPECT_TRUE(seconds > 0.5 && seconds < 5.0) << seconds;
  ExpectDeviceClosed();
}

TEST(SpeechEngine, WithoutItsDataGivesNoVoice) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  // In a fresh process, since the engine is set up once per process; the
  // child makes and removes the empty data folder itself.
  EXPECT_EXIT(
      {
        char home[] = "/tmp/quorvel-no-voices-XXXXXX";
        const std::string data = std::string(mkdtemp(home)) + "/espeak-ng-data";
        mkdir(data.c_str(), 0700);
        setenv("ESPEAK_DATA_PATH", home, 1);
        bool none = false;
        {
          const PrivateDispatcher refusing({"DisableAutoSpawn"});
          none = platform::CreateVoice() == nullptr;
        }
        rmdir(data.c_str());
        rmdir(home);
        std::exit(none ? 0 : 3);
      },
      testing::ExitedWithCode(0), "");
}

TEST_F(DiskAudio, BeepSoundsTheAskedPitchForTheAskedTime) {
  const struct {
    unsigned hz, ms;
  } cases[] = {{500, 300}, {1000, 300}, {2000, 120}};
  for (const auto c : cases) {
    platform::Beep(c.hz, c.ms);
    const Samples heard = LeftChannel();
    EXPECT_NEAR(Loud(heard).Seconds(), c.ms / 1000.0, 0.012) << c.hz;
    EXPECT_NEAR(ZeroCrossings(heard, Loud(heard)), 2.0 * c.hz * c.ms / 1000, 4) << c.hz;
  }
  ExpectDeviceClosed();
}

}  // namespace
