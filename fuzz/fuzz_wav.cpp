// Fuzzes the WAV reader and everything after it: the RIFF walk and its checks, the decoded path
// (through a small 8-bit decoder standing in for the real one), first-channel reduction, rate
// conversion, the rectmp and the processing into a clip.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "announcements/clip_files.hpp"
#include "audio/acmwav.hpp"
#include "audio/recproc.hpp"
#include "audio/rectmp.hpp"

namespace {

// Reads the data chunk's bytes as unsigned 8-bit samples, whatever the format says.
class byte_decoder final : public zta::pcm_decoder {
 public:
  byte_decoder(const std::string& path, const zta::wav_data_info& info)
      : f_(std::fopen(path.c_str(), "rb")), channels_(info.channels), left_(info.data_size) {
    if (f_ != nullptr) std::fseek(f_, static_cast<long>(info.data_offset), SEEK_SET);
  }
  ~byte_decoder() override {
    if (f_ != nullptr) std::fclose(f_);
  }
  int channels() const override { return channels_; }
  std::size_t output_size(std::size_t source_bytes) const override { return 2 * source_bytes; }
  long read_frames(std::int16_t* out, long max_frames) override {
    if (f_ == nullptr) return -1;
    const std::uint64_t want = std::min<std::uint64_t>(
        static_cast<std::uint64_t>(max_frames) * static_cast<std::uint64_t>(channels_), left_);
    std::vector<std::uint8_t> b(static_cast<std::size_t>(want));
    const std::size_t got = std::fread(b.data(), 1, b.size(), f_);
    left_ -= got;
    const std::size_t frames = got / static_cast<std::size_t>(channels_);
    for (std::size_t i = 0; i < frames * static_cast<std::size_t>(channels_); ++i) {
      out[i] = static_cast<std::int16_t>((b[i] - 128) * 256);
    }
    return static_cast<long>(frames);
  }

 private:
  std::FILE* f_;
  int channels_;
  std::uint64_t left_;
};

class byte_decoders final : public zta::pcm_decoder_factory {
 public:
  std::unique_ptr<zta::pcm_decoder> open(const std::string& path,
                                         const zta::wav_data_info& info) override {
    if (info.channels == 0 || info.format_tag == 0x55) return nullptr;  // one "unknown" format
    return std::make_unique<byte_decoder>(path, info);
  }
};

struct workspace {
  std::string dir;
  workspace() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zta-fuzz-wav-XXXXXX").string();
    if (::mkdtemp(tmpl.data()) == nullptr) std::abort();
    dir = tmpl + "/";  // the clips; the rectmp's file goes in the current directory
  }
  ~workspace() {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static workspace ws;
  const int fd = ::memfd_create("wav", 0);
  if (fd < 0) return 0;
  if (size != 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
    ::close(fd);
    return 0;
  }
  const std::string path = "/proc/self/fd/" + std::to_string(fd);

  byte_decoders decoders;
  zta::rectmp tmp;
  {
    zta::acmwav wav(&decoders);
    if (wav.open(path, &tmp)) {
      int steps = 0;
      while (wav.step()) {
        if (++steps > 10000000) std::abort();  // a hang
      }
    }
  }
  ::close(fd);

  zta::station st(ws.dir);
  std::int16_t clip = -1;
  std::int32_t length = 0;
  {
    zta::recproc proc(st, &tmp, &clip, &length);
    if (proc.start()) {
      while (proc.step()) {
      }
    }
    if (proc.succeeded() && (length < 0 || length > proc.written())) std::abort();
  }
  if (zta::valid_clip(clip)) zta::release_clip(st, clip);
  return 0;
}
