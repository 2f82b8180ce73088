// zta remote list|play|send --folder CTL ...: the companion side of the remote control folder.
// It reads the player's listing, drops requests (and for `send` the sound, converted like an
// import to raw 22050 Hz mono 16-bit) under a temporary name renamed into place, so the player
// never reads one half written, and with --wait reads the player's acknowledgement.
//
// Exit status: 0 played (or sent, without --wait), 1 refused, 2 no acknowledgement in time,
// 3 nothing sent (a wrong argument, no listing, a folder that cannot be written).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "announcements/remote_ack.hpp"
#include "announcements/remote_folder.hpp"
#include "announcements/text_encoding.hpp"
#include "audio/acmwav.hpp"
#include "base/byte_codec.hpp"
#include "base/file_io.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"
#include "tools/commands.hpp"
#include "tools/tool_options.hpp"

namespace zta::tool {
namespace {

constexpr int exit_played = 0;
constexpr int exit_refused = 1;
constexpr int exit_timeout = 2;
constexpr int exit_not_sent = 3;
constexpr int max_wait_seconds = 24 * 60 * 60;

// Reads at most `limit` bytes of a regular file (never a link, a pipe or a device); false when
// it cannot be read or holds more.
bool read_bounded(const std::string& path, std::size_t limit, std::vector<std::uint8_t>& out) {
  out.clear();
  file_handle f = open_regular_for_read(path);
  if (!f) return false;
  out.resize(limit + 1);
  const std::size_t got = std::fread(out.data(), 1, out.size(), f.get());
  if (std::ferror(f.get()) != 0 || got > limit) return false;
  out.resize(got);
  return true;
}

bool is_folder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool exists_any(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

std::string folder_of(const options& o) {
  std::string f = o.value("--folder").value_or("");
  while (f.size() > 1 && f.back() == '/') f.pop_back();
  return f + "/";
}

// A request name no other request, acknowledgement or sound file in the folder has.
std::string fresh_name(const std::string& folder) {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "zta-%08x", static_cast<unsigned>(random()));
    std::string n = buf;
    if (!exists_any(folder + n + ".ply") && !exists_any(folder + n + ack_suffix) &&
        !exists_any(folder + n + ".aud"))
      return n;
  }
  return {};
}

int list_entries(const std::string& folder) {
  const std::string path = folder + listing_file_name;
  std::vector<std::uint8_t> bytes;
  decoded_listing listing;
  if (!read_bounded(path, listing_max_size, bytes) || !decode_listing(bytes, listing)) {
    std::fprintf(stderr, "zta: no readable listing %s (is remote control on in the player?)\n",
                 path.c_str());
    return exit_not_sent;
  }
  std::printf("%s written %s: %zu announcement%s\n", listing_file_name,
              ack_moment_text(listing.written_at).c_str(), listing.entries.size(),
              listing.entries.size() == 1 ? "" : "s");
  for (const listing_entry& e : listing.entries) {
    std::printf("%3d  %s%s\n", e.index, display_text(e.name).c_str(),
                e.confirm ? "  (confirm)" : "");
    // The script as its lines, under the name.
    std::string line;
    const std::string script = display_text(e.script);
    for (std::size_t i = 0; i <= script.size(); ++i) {
      if (i == script.size() || script[i] == '\n') {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) std::printf("     %s\n", line.c_str());
        line.clear();
      } else {
        line += script[i];
      }
    }
  }
  if (!listing.whole) std::fprintf(stderr, "zta: the listing ends in a partial record\n");
  return 0;
}

// Collects the converted samples in a temporary file beside the sound file's place.
class sound_file_sink final : public sample_sink {
 public:
  explicit sound_file_sink(const std::string& final_path) : final_(final_path) {
    temp_ = final_path + ".XXXXXX";
    fd_ = ::mkstemp(temp_.data());
  }
  ~sound_file_sink() override {
    if (fd_ >= 0) ::close(fd_);
    if (!placed_) ::unlink(temp_.c_str());
  }
  sound_file_sink(const sound_file_sink&) = delete;
  sound_file_sink& operator=(const sound_file_sink&) = delete;

  bool ok() const { return fd_ >= 0 && !failed_; }
  std::uint64_t bytes() const { return bytes_; }

  int append_block(std::int16_t* samples, std::int32_t byte_count) override {
    if (!ok() || byte_count <= 0) return 0;
    const auto count = static_cast<std::size_t>(byte_count) / 2;
    std::vector<std::uint8_t> le(count * 2);
    for (std::size_t i = 0; i < count; ++i) store_le<std::int16_t>(le.data() + 2 * i, samples[i]);
    std::size_t done = 0;
    while (done < le.size()) {
      const ssize_t n = ::write(fd_, le.data() + done, le.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        failed_ = true;
        return 0;
      }
      done += static_cast<std::size_t>(n);
    }
    bytes_ += le.size();
    return 0;
  }

  // Flushes the samples to disk and gives them the final name.
  bool place() {
    if (!ok() || ::fsync(fd_) != 0) return false;
    ::fchmod(fd_, 0644);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) return false;
    placed_ = std::rename(temp_.c_str(), final_.c_str()) == 0;
    return placed_;
  }

 private:
  std::string final_;
  std::string temp_;
  int fd_ = -1;
  bool failed_ = false;
  bool placed_ = false;
  std::uint64_t bytes_ = 0;
};

// Converts `wav` into `folder` + `name`; prints why not and returns false on failure.
bool place_sound(const std::string& wav, const std::string& folder, const std::string& name) {
  struct stat info {};
  if (::stat(wav.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
    std::fprintf(stderr, "zta: %s is not a readable file\n", wav.c_str());
    return false;
  }
  sound_file_sink sink(folder + name);
  if (!sink.ok()) {
    std::fprintf(stderr, "zta: cannot write in %s\n", folder.c_str());
    return false;
  }
  sndfile_pcm_decoder_factory decoders;
  acmwav reader(&decoders);
  if (reader.open(wav, &sink)) {
    while (reader.step()) {
    }
  }
  const wav_error e = reader.error();
  reader.close();
  if (e != wav_error::none) {
    std::fprintf(stderr, "zta: %s: %s\n", wav.c_str(), wav_error_text(e));
    return false;
  }
  if (sink.bytes() == 0) {
    std::fprintf(stderr, "zta: %s holds no sound\n", wav.c_str());
    return false;
  }
  if (!sink.place()) {
    std::fprintf(stderr, "zta: cannot write the sound file in %s\n", folder.c_str());
    return false;
  }
  return true;
}

// Waits for the acknowledgement of request `name` + ".ply", prints it and deletes it. On a
// timeout a request still waiting is withdrawn (with its sound file), so it cannot play later.
int await_acknowledgement(const std::string& folder, const std::string& name, int seconds,
                          const std::string& sound) {
  const std::string ack_path = folder + ack_file_name(name + ".ply");
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    std::vector<std::uint8_t> bytes;
    acknowledgement a;
    if (read_bounded(ack_path, ack_max_size, bytes) &&
        decode_ack(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()),
                   a)) {
      std::printf("%s %s at %s: %s\n", display_text(a.request).c_str(),
                  a.played ? "played" : "refused", ack_moment_text(a.moment).c_str(),
                  display_text(a.detail).c_str());
      delete_file(ack_path);
      return a.played ? exit_played : exit_refused;
    }
    if (std::chrono::steady_clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  const std::string request = folder + name + ".ply";
  if (::unlink(request.c_str()) == 0) {
    if (!sound.empty()) ::unlink((folder + sound).c_str());
    std::printf("%s.ply: no acknowledgement within %d s; the request was withdrawn\n", name.c_str(),
                seconds);
  } else {
    std::printf("%s.ply: taken, but no acknowledgement within %d s (a player that writes none?)\n",
                name.c_str(), seconds);
  }
  return exit_timeout;
}

// Drops the request and, with --wait, waits for its answer.
int send_request(const std::string& folder, const std::string& name, request_kind kind,
                 const std::string& text, const std::optional<int>& wait,
                 const std::string& sound) {
  const std::vector<std::uint8_t> bytes = encode_request(kind, text);
  if (!replace_file_atomically(folder + name + ".ply", bytes)) {
    if (!sound.empty()) ::unlink((folder + sound).c_str());
    std::fprintf(stderr, "zta: cannot write the request in %s\n", folder.c_str());
    return exit_not_sent;
  }
  if (!wait) {
    std::printf("%s.ply: sent\n", name.c_str());
    return exit_played;
  }
  return await_acknowledgement(folder, name, *wait, sound);
}

// --wait SECONDS, when given; false for a value that is not 0..86400.
bool wait_option(const options& o, std::optional<int>& out) {
  out.reset();
  const auto v = o.value("--wait");
  if (!v) return true;
  if (v->empty() || v->size() > 5 || v->find_first_not_of("0123456789") != std::string::npos ||
      std::stoi(*v) > max_wait_seconds) {
    std::fprintf(stderr, "zta: --wait takes whole seconds from 0 to %d\n", max_wait_seconds);
    return false;
  }
  out = std::stoi(*v);
  return true;
}

// The name to request for --name NAME or --index N (the listing's entry N).
bool requested_name(const options& o, const std::string& folder, std::string& name) {
  const auto by_name = o.value("--name");
  const auto by_index = o.value("--index");
  if (by_name.has_value() == by_index.has_value()) {
    std::fprintf(stderr, "zta: remote play takes either --index N or --name NAME\n");
    return false;
  }
  if (by_name) {
    if (by_name->empty() || by_name->size() > 31) {
      std::fprintf(stderr, "zta: an announcement name has 1 to 31 bytes\n");
      return false;
    }
    name = *by_name;
    return true;
  }
  const std::string& n = *by_index;
  if (n.empty() || n.size() > 3 || n.find_first_not_of("0123456789") != std::string::npos) {
    std::fprintf(stderr, "zta: --index takes a listing index\n");
    return false;
  }
  std::vector<std::uint8_t> bytes;
  decoded_listing listing;
  if (!read_bounded(folder + listing_file_name, listing_max_size, bytes) ||
      !decode_listing(bytes, listing)) {
    std::fprintf(stderr, "zta: no readable listing in %s\n", folder.c_str());
    return false;
  }
  const auto i = static_cast<std::size_t>(std::stoi(n));
  if (i >= listing.entries.size()) {
    std::fprintf(stderr, "zta: the listing has no entry %zu (it has %zu)\n", i,
                 listing.entries.size());
    return false;
  }
  name = listing.entries[i].name;
  return true;
}

}  // namespace

int cmd_remote(const arg_list& args) {
  const auto opts = parse_options(args, {"--folder", "--index", "--name", "--wait"}, {});
  if (!opts) return exit_not_sent;
  const std::string what = opts->positional.empty() ? "" : opts->positional[0];
  if (!opts->value("--folder")) {
    std::fprintf(stderr, "zta: remote needs --folder CTL\n");
    return exit_not_sent;
  }
  const std::string folder = folder_of(*opts);
  if (!is_folder(folder)) {
    std::fprintf(stderr, "zta: control folder %s does not exist\n", folder.c_str());
    return exit_not_sent;
  }
  const std::size_t want_positional = what == "send" ? 2 : 1;
  if ((what != "list" && what != "play" && what != "send") ||
      opts->positional.size() != want_positional) {
    std::fprintf(stderr, "zta: remote list | play (--index N | --name NAME) | send FILE.wav\n");
    return exit_not_sent;
  }
  if (what == "list") {
    if (opts->value("--wait") || opts->value("--name") || opts->value("--index")) {
      std::fprintf(stderr, "zta: remote list takes only --folder\n");
      return exit_not_sent;
    }
    return list_entries(folder);
  }
  std::optional<int> wait;
  if (!wait_option(*opts, wait)) return exit_not_sent;
  const std::string name = fresh_name(folder);
  if (name.empty()) {
    std::fprintf(stderr, "zta: no free request name in %s\n", folder.c_str());
    return exit_not_sent;
  }
  if (what == "play") {
    std::string announcement;
    if (!requested_name(*opts, folder, announcement)) return exit_not_sent;
    return send_request(folder, name, request_kind::by_name, announcement, wait, "");
  }
  if (opts->value("--name") || opts->value("--index")) {
    std::fprintf(stderr, "zta: remote send takes a WAV file, not --name or --index\n");
    return exit_not_sent;
  }
  const std::string sound = name + ".aud";
  if (!place_sound(opts->positional[1], folder, sound)) return exit_not_sent;
  return send_request(folder, name, request_kind::sound_file, sound, wait, sound);
}

}  // namespace zta::tool
