// Sound paths that are not the sound files they claim to be, and the
// program's end while something sounds: each played by the audio backend in
// a process of its own (audio_process.cpp), so a hang fails the test instead
// of stalling it.
#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "audio_test_support.h"
#include "private_dispatcher.h"
#include "process_run.h"

namespace {

// Runs audio_process with `mode` and `argument`; killed after `seconds`.
ProcessRun RunAudioProcess(const std::string& mode, const std::string& argument, int seconds) {
  return RunProcess({QUORVEL_AUDIO_PROCESS, mode, argument}, seconds);
}

bool ExitedCleanly(const ProcessRun& run) { return ExitedWith(run, 0); }

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A RIFF/WAVE header of integer PCM announcing `data_size` bytes of samples.
std::string WavHeader(unsigned rate, unsigned channels, unsigned bits, std::uint32_t data_size) {
  std::string header = linux_audio::WavImage({}, static_cast<int>(rate));
  const std::uint16_t channels16 = static_cast<std::uint16_t>(channels);
  const std::uint32_t bytes_a_second = rate * channels * bits / 8;
  const std::uint16_t block = static_cast<std::uint16_t>(channels * bits / 8);
  const std::uint16_t bits16 = static_cast<std::uint16_t>(bits);
  const std::uint32_t riff_size = 36 + data_size;
  std::memcpy(&header[4], &riff_size, 4);  // the test machine is little-endian, as WAV is
  std::memcpy(&header[22], &channels16, 2);
  std::memcpy(&header[28], &bytes_a_second, 4);
  std::memcpy(&header[32], &block, 2);
  std::memcpy(&header[34], &bits16, 2);
  std::memcpy(&header[40], &data_size, 4);
  return header;
}

void PutBigEndian(std::string& bytes, std::uint64_t value, int size) {
  for (int i = size - 1; i >= 0; --i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void PutLittleEndian(std::string& bytes, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// A sound the mixer's own loader would play, in a format that is not WAV.
std::string AiffImage(const Samples& samples) {
  std::string sound_data;
  PutBigEndian(sound_data, 0, 4);  // offset
  PutBigEndian(sound_data, 0, 4);  // block size
  for (const std::int16_t sample : samples)
    PutBigEndian(sound_data, static_cast<std::uint16_t>(sample), 2);
  std::string aiff = "AIFFCOMM";
  PutBigEndian(aiff, 18, 4);
  PutBigEndian(aiff, 1, 2);  // one channel
  PutBigEndian(aiff, samples.size(), 4);
  PutBigEndian(aiff, 16, 2);                  // bits a sample
  PutBigEndian(aiff, 0x400E, 2);              // 44100 as an 80-bit float:
  PutBigEndian(aiff, 0xAC44000000000000, 8);  // exponent, then mantissa
  aiff += "SSND";
  PutBigEndian(aiff, sound_data.size(), 4);
  aiff += sound_data;
  std::string form = "FORM";
  PutBigEndian(form, aiff.size(), 4);
  return form + aiff;
}

enum class Heard { kDefaultSound, kTheFile };

// ThreadSanitizer keeps about four bytes of shadow for each byte touched.
#ifdef __SANITIZE_THREAD__
constexpr long kShadowFactor = 5;
#else
constexpr long kShadowFactor = 1;
#endif

using MakePath = std::function<std::string(const std::string& folder)>;

// A regular file `name` in the folder, holding `bytes`.
MakePath FileWith(const std::string& name, const std::string& bytes) {
  return [name, bytes](const std::string& folder) {
    WriteFile(folder + "/" + name, bytes);
    return folder + "/" + name;
  };
}

// A WAV file `size` bytes long, its samples a hole in the file.
MakePath SparseWav(const std::string& name, unsigned rate, unsigned channels, unsigned bits,
                   std::uint32_t size) {
  return [=](const std::string& folder) {
    const std::string path = FileWith(name, WavHeader(rate, channels, bits, size - 44))(folder);
    std::filesystem::resize_file(path, size);
    return path;
  };
}

// An IMA-ADPCM WAV file (8 kHz mono, 256-byte blocks of 505 samples) of
// `data_size` bytes of silent blocks, a hole in the file.
MakePath SparseAdpcmWav(const std::string& name, std::uint32_t data_size) {
  return [=](const std::string& folder) {
    std::string header = "RIFF....WAVEfmt ";
    PutLittleEndian(header, 20, 4);
    for (const auto& [value, bytes] : {std::pair{0x11u, 2}, {1u, 2}, {8000u, 4}, {4055u, 4},
                                      {256u, 2}, {4u, 2}, {2u, 2}, {505u, 2}})
      PutLittleEndian(header, value, bytes);
    header += "data";
    PutLittleEndian(header, data_size, 4);
    const std::uint32_t riff_size = static_cast<std::uint32_t>(header.size() - 8 + data_size);
    std::memcpy(&header[4], &riff_size, 4);
    const std::string path = FileWith(name, header)(folder);
    std::filesystem::resize_file(path, header.size() + data_size);
    return path;
  };
}

class HostileSoundPath : public DiskAudio {
 protected:
  void SetUp() override {
    DiskAudio::SetUp();
    char name[] = "/tmp/quorvel-hostile-XXXXXX";
    ASSERT_NE(::mkdtemp(name), nullptr);
    folder_ = name;
  }
  void TearDown() override {
    std::filesystem::remove_all(folder_);
    DiskAudio::TearDown();
  }
  std::string folder_;
};

TEST_F(HostileSoundPath, OnlyARegularBoundedWavFileIsPlayedAndTheCallReturnsPromptly) {
  const Samples tone = linux_audio::Tone(660, 400, 0.4);
  const std::string real_wav = linux_audio::WavImage(tone, linux_audio::kToneRate);
  struct Row {
    const char* name;
    MakePath make;
    Heard heard;
  };
  const Row rows[] = {
      {"a FIFO nobody writes",
       [](const std::string& folder) {
         const std::string path = folder + "/fifo.wav";
         ::mkfifo(path.c_str(), 0600);
         return path;
       },
       Heard::kDefaultSound},
      {"a character device", [](const std::string&) { return std::string("/dev/zero"); },
       Heard::kDefaultSound},
      {"a folder",
       [](const std::string& folder) {
         const std::string path = folder + "/folder.wav";
         ::mkdir(path.c_str(), 0700);
         return path;
       },
       Heard::kDefaultSound},
      {"a sparse 1 GiB WAV file in the device's format",
       SparseWav("huge.wav", 44100, 2, 16, 1u << 30), Heard::kDefaultSound},
      {"a small WAV file at 1 kHz that would decode to 370 MiB",
       SparseWav("slow.wav", 1000, 1, 8, 2u << 20), Heard::kDefaultSound},
      {"a 24 MiB IMA-ADPCM file that would decode to 95 MiB",
       SparseAdpcmWav("adpcm.wav", 24u << 20), Heard::kDefaultSound},
      {"an AIFF sound named .wav", FileWith("aiff.wav", AiffImage(tone)), Heard::kDefaultSound},
      {"text named like a sound",
       FileWith("text.wav", "Not a sound, just text named like one.\n"), Heard::kDefaultSound},
      {"an empty file", FileWith("empty.wav", ""), Heard::kDefaultSound},
      {"a header cut short", FileWith("cut.wav", real_wav.substr(0, 30)), Heard::kDefaultSound},
      {"no file at all", [](const std::string& folder) { return folder + "/gone.wav"; },
       Heard::kDefaultSound},
      {"a small WAV file", FileWith("real.wav", real_wav), Heard::kTheFile},
      {"a link to a small WAV file",
       [&real_wav](const std::string& folder) {
         WriteFile(folder + "/target.wav", real_wav);
         const std::string path = folder + "/link.wav";
         std::filesystem::create_symlink(folder + "/target.wav", path);
         return path;
       },
       Heard::kTheFile},
  };
  for (const Row& row : rows) {
    std::ofstream(path_, std::ios::trunc).close();
    const ProcessRun run = RunAudioProcess("play", row.make(folder_), 5);
    if (!ExitedCleanly(run)) {
      ADD_FAILURE() << row.name << (run.ended ? ": failed" : ": still playing");
      continue;
    }
    // The file may be read whole (the largest row has 24 MiB), but no more
    // is decoded than the bound.
    EXPECT_LT(std::atol(run.output.c_str()), (24 << 10) * kShadowFactor + (40 << 10))
        << row.name << ": KiB more at the peak";
    const Samples heard = LeftChannel();
    const Span loud = Loud(heard);
    if (row.heard == Heard::kTheFile) {
      EXPECT_NEAR(loud.Seconds(), 0.4, 0.02) << row.name;
      EXPECT_NEAR(ZeroCrossings(heard, loud), 2 * 660 * 0.4, 10) << row.name;
    } else {
      EXPECT_NEAR(loud.Seconds(), 0.2, 0.03) << row.name;
      EXPECT_NEAR(ZeroCrossings(heard, loud), 2 * 880 * 0.2, 10) << row.name;
    }
  }
}

using ProgramEnd = DiskAudio;

void ExpectAnEndWithinASecond(const ProcessRun& run, const std::string& name) {
  EXPECT_TRUE(ExitedCleanly(run)) << name << (run.ended ? ": failed" : ": never ended");
  const long long ending_at = std::atoll(run.output.c_str());
  ASSERT_GT(ending_at, 0) << name << ": never sounded";
  EXPECT_LT(double(run.ended_at - ending_at) / 1e9, 1.0) << name;
}

TEST_F(ProgramEnd, ComesWithinASecondWhateverSounds) {
  // ThreadSanitizer waits a second at every exit for late reports; what is
  // measured here is the program's own end.
  const char* tsan_options = std::getenv("TSAN_OPTIONS");
  const std::string options = std::string(tsan_options ? tsan_options : "") + " atexit_sleep_ms=0";
  setenv("TSAN_OPTIONS", options.c_str(), 1);
  const PrivateDispatcher refusing({"DisableAutoSpawn"});  // espeak-ng speaks through the device
  Pace("5");
  WriteTone(660, 100);
  struct Row {
    const char* name;
    const char* mode;
    std::string argument;
  };
  const Row rows[] = {
      {"an alarm loop", "loop", wav_},
      {"speech", "speak", "1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 17 18 19 20"},
  };
  for (const Row& row : rows) {
    std::ofstream(path_, std::ios::trunc).close();
    ExpectAnEndWithinASecond(RunAudioProcess(row.mode, row.argument, 20), row.name);
  }
  // A daemon that takes its time over the text: the voice still waits for its
  // end when the program ends.
  const PrivateDispatcher speaking({"", 5.0});
  setenv("QUORVEL_SOUNDING_FILE", speaking.SpokenFile().c_str(), 1);
  ExpectAnEndWithinASecond(RunAudioProcess("speak", "1 2 3 4", 20), "speech-dispatcher");
  // The same daemon stopped, as one stuck on its sound device: the program
  // ends while its voice still waits for the daemon. The process takes the
  // file the test writes after a second as its sign to end.
  const pid_t daemon = speaking.Daemon();
  ASSERT_NE(daemon, 0);
  ::kill(daemon, SIGSTOP);
  const std::string sign = path_ + ".end";
  setenv("QUORVEL_SOUNDING_FILE", sign.c_str(), 1);
  std::thread writer([&sign] {
    std::this_thread::sleep_for(std::chrono::seconds(1));
    WriteFile(sign, "end");
  });
  ExpectAnEndWithinASecond(RunAudioProcess("speak", "1 2 3 4", 20), "a stopped speech-dispatcher");
  writer.join();
  std::remove(sign.c_str());
  // Still stopped: the connection is given up after 5 s and left behind with
  // the library's reader in it, espeak-ng says the phrase through the device,
  // and the program ends while that reader still waits.
  unsetenv("QUORVEL_SOUNDING_FILE");
  std::ofstream(path_, std::ios::trunc).close();
  ExpectAnEndWithinASecond(RunAudioProcess("speak", "1 2 3 4", 20), "a connection left behind");
  ::kill(daemon, SIGCONT);
}

}  // namespace
