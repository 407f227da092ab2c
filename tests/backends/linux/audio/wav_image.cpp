#include "wav_image.h"

namespace linux_audio {

namespace {

// WAV fields are little-endian whatever the machine.
void PutLittleEndian(std::string& bytes, std::uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

std::string WavImage(const std::vector<std::int16_t>& samples, int rate) {
  const std::uint32_t data_size = static_cast<std::uint32_t>(samples.size() * 2);
  const std::uint32_t frame_rate = static_cast<std::uint32_t>(rate);
  std::string bytes;
  bytes.reserve(44 + data_size);
  bytes += "RIFF";
  PutLittleEndian(bytes, 36 + data_size, 4);
  bytes += "WAVEfmt ";
  PutLittleEndian(bytes, 16, 4);              // format block size
  PutLittleEndian(bytes, 1, 2);               // integer PCM
  PutLittleEndian(bytes, 1, 2);               // one channel
  PutLittleEndian(bytes, frame_rate, 4);
  PutLittleEndian(bytes, frame_rate * 2, 4);  // bytes a second
  PutLittleEndian(bytes, 2, 2);               // bytes a frame
  PutLittleEndian(bytes, 16, 2);              // bits a sample
  bytes += "data";
  PutLittleEndian(bytes, data_size, 4);
  for (const std::int16_t sample : samples)
    PutLittleEndian(bytes, static_cast<std::uint16_t>(sample), 2);
  return bytes;
}

}  // namespace linux_audio
