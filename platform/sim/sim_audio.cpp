#include "platform/sim/sim_audio.hpp"

#include <algorithm>
#include <cmath>

#include "base/byte_codec.hpp"
#include "base/file_io.hpp"

namespace zta {

namespace {

constexpr std::size_t wav_header_size = 44;
constexpr char sim_card[] = "Simulated output";

std::vector<std::uint8_t> wav_header(int channels, std::uint32_t data_bytes) {
  std::vector<std::uint8_t> h;
  byte_writer w(h);
  w.bytes("RIFF", 4);
  w.u32(36 + data_bytes);
  w.bytes("WAVEfmt ", 8);
  w.u32(16);
  w.u16(1);  // PCM
  w.u16(static_cast<std::uint16_t>(channels));
  w.u32(22050);
  w.u32(22050u * 2u * static_cast<std::uint32_t>(channels));
  w.u16(static_cast<std::uint16_t>(2 * channels));
  w.u16(16);
  w.bytes("data", 4);
  w.u32(data_bytes);
  return h;
}

}  // namespace

void sim_levels::save() const {
  std::string text;
  char line[64];
  std::snprintf(line, sizeof line, "wave_out 0x%08X\n", wave_out);
  text += line;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::snprintf(line, sizeof line, "line %zu 0x%08X\n", i, lines[i]);
    text += line;
  }
  replace_file_atomically(
      dir + "levels.txt",
      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

sim_wave_out::sim_wave_out(std::shared_ptr<sim_levels> levels, double speed,
                           std::unique_ptr<loop_timer> timer, std::string stem)
    : levels_(std::move(levels)),
      speed_(speed > 0 ? speed : 1.0),
      stem_(std::move(stem)),
      timer_(std::move(timer)) {}

sim_wave_out::~sim_wave_out() {
  close();
}

std::string sim_wave_out::wav_path(int channels) const {
  return levels_->dir + stem_ + "-" + std::to_string(channels) + "ch.wav";
}

bool sim_wave_out::open_wav(int channels) {
  const std::string path = wav_path(channels);
  std::vector<std::uint8_t> head(wav_header_size);
  wav_ = std::fopen(path.c_str(), "r+b");
  if (wav_ != nullptr) {
    // Append to a file of the same format; anything else is started afresh.
    auto expected = wav_header(channels, 0);
    bool same = std::fread(head.data(), 1, head.size(), wav_) == head.size() &&
                std::equal(head.begin(), head.begin() + 4, expected.begin()) &&
                std::equal(head.begin() + 8, head.begin() + 40, expected.begin() + 8);
    if (same) {
      std::fseek(wav_, 0, SEEK_END);
      long size = std::ftell(wav_);
      wav_data_bytes_ = size > 44 ? static_cast<std::uint32_t>(size - 44) : 0;
      return true;
    }
    std::fclose(wav_);
  }
  wav_ = std::fopen(path.c_str(), "w+b");
  if (wav_ == nullptr) return false;
  wav_data_bytes_ = 0;
  auto h = wav_header(channels, 0);
  std::fwrite(h.data(), 1, h.size(), wav_);
  return true;
}

void sim_wave_out::close_wav() {
  if (wav_ != nullptr) std::fclose(wav_);
  wav_ = nullptr;
}

std::vector<std::string> sim_wave_out::device_names() const {
  std::vector<std::uint8_t> bytes;
  if (!read_whole_file(levels_->dir + "cards.txt", bytes)) return {sim_card};
  std::vector<std::string> names;
  std::string line;
  for (std::uint8_t b : bytes) {
    if (b == '\r') continue;
    if (b != '\n') {
      line += static_cast<char>(b);
      continue;
    }
    names.push_back(line);
    line.clear();
  }
  if (!line.empty()) names.push_back(line);
  return names;
}

bool sim_wave_out::open(int index, const wave_format& format, wave_out_listener& listener) {
  if (is_open() || index < 0) return false;
  const std::vector<std::string> names = device_names();
  if (index >= static_cast<int>(names.size()) || names[static_cast<std::size_t>(index)] != sim_card)
    return false;
  if (!open_wav(format.channels)) return false;
  format_ = format;
  listener_ = &listener;
  play_head_ = clock::now();
  return true;
}

bool sim_wave_out::write(wave_header& h) {
  if (!is_open()) return false;
  h.flags = (h.flags & ~static_cast<std::uint32_t>(wave_done)) | wave_in_queue;
  // A WAV file ends at 4 GiB; past that the samples are no longer kept, the timing goes on.
  if (wav_ != nullptr && wav_data_bytes_ <= 0xFFFFFFFFu - 36u - h.length) {
    std::fseek(wav_, 0, SEEK_END);
    std::fwrite(h.data, 1, h.length, wav_);
    wav_data_bytes_ += h.length;
    std::uint8_t sizes[4];
    store_le<std::uint32_t>(sizes, 36 + wav_data_bytes_);
    std::fseek(wav_, 4, SEEK_SET);
    std::fwrite(sizes, 1, 4, wav_);
    store_le<std::uint32_t>(sizes, wav_data_bytes_);
    std::fseek(wav_, 40, SEEK_SET);
    std::fwrite(sizes, 1, 4, wav_);
    std::fflush(wav_);
  }
  // Whole frames: a buffer's length is a multiple of the block align.
  const std::uint32_t frames = h.length / static_cast<std::uint32_t>(format_.block_align());
  const double seconds = static_cast<double>(frames) / format_.rate / speed_;
  auto now = clock::now();
  if (play_head_ < now) play_head_ = now;
  play_head_ += std::chrono::duration_cast<clock::duration>(std::chrono::duration<double>(seconds));
  queue_.push_back({&h, play_head_});
  arm();
  return true;
}

void sim_wave_out::arm() {
  if (queue_.empty()) {
    timer_->stop();
    return;
  }
  auto wait = std::chrono::ceil<std::chrono::milliseconds>(queue_.front().due - clock::now());
  timer_->start(static_cast<int>(std::max<std::int64_t>(0, wait.count())), [this] { deliver(); });
}

void sim_wave_out::deliver() {
  const std::vector<std::string> names = device_names();
  if (is_open() && std::find(names.begin(), names.end(), sim_card) == names.end()) {
    queue_.clear();
    listener_->device_failed();  // the listener closes the device
    return;
  }
  while (is_open() && !queue_.empty() && queue_.front().due <= clock::now()) {
    wave_header* h = queue_.front().header;
    queue_.pop_front();
    h->flags = (h->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
    listener_->buffer_done(*h);  // may write, reset or close
  }
  if (is_open()) arm();
}

void sim_wave_out::reset() {
  for (auto& q : queue_) {
    q.header->flags = (q.header->flags | wave_done) & ~static_cast<std::uint32_t>(wave_in_queue);
  }
  queue_.clear();
  timer_->stop();
  play_head_ = clock::now();
}

void sim_wave_out::close() {
  reset();
  close_wav();
  listener_ = nullptr;
}

void sim_wave_out::set_volume(std::uint32_t word) {
  if (stem_ != "wave_out") return;
  levels_->wave_out = word;
  levels_->save();
}

sim_aux_mixer::sim_aux_mixer(std::shared_ptr<sim_levels> levels)
    : recording_aux_mixer({"sim: Music", "sim: Microphone"}), levels_(std::move(levels)) {
  levels_->lines.assign(2, 0);
}

void sim_aux_mixer::changed() {
  levels_->lines = {last(0), last(1)};
  levels_->save();
}

}  // namespace zta
