#include "tools/package_description.hpp"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <nlohmann/json.hpp>

#include "announcements/clip_files.hpp"
#include "audio/import_wav.hpp"
#include "base/file_io.hpp"
#include "loading/package_reader.hpp"
#include "platform/sndfile/sndfile_pcm_decoder.hpp"

namespace zta::tool {

namespace {

using json = nlohmann::json;

struct spec_error {
  std::string text;
};

[[noreturn]] void fail(const std::string& text) {
  throw spec_error{text};
}

std::int64_t integer(const json& j, const std::string& where, std::int64_t lo, std::int64_t hi) {
  if (!j.is_number_integer()) fail(where + " must be an integer");
  std::int64_t v = j.get<std::int64_t>();
  if (v < lo || v > hi) {
    fail(where + " must be in " + std::to_string(lo) + ".." + std::to_string(hi));
  }
  return v;
}

std::int32_t int32(const json& j, const std::string& where) {
  return static_cast<std::int32_t>(integer(j, where, std::numeric_limits<std::int32_t>::min(),
                                           std::numeric_limits<std::int32_t>::max()));
}

std::string text(const json& j, const std::string& where, std::size_t max) {
  if (!j.is_string()) fail(where + " must be a string");
  std::string s = j.get<std::string>();
  if (s.size() > max) fail(where + " is longer than " + std::to_string(max) + " bytes");
  return s;
}

bool boolean(const json& j, const std::string& where) {
  if (!j.is_boolean()) fail(where + " must be true or false");
  return j.get<bool>();
}

void only_keys(const json& j, const std::string& where, std::initializer_list<const char*> keys) {
  for (auto it = j.begin(); it != j.end(); ++it) {
    bool known = false;
    for (const char* k : keys) known = known || it.key() == k;
    if (!known) fail(where + ": unknown field \"" + it.key() + "\"");
  }
}

package_record_spec record_of(const json& a, const std::string& where, std::int32_t version,
                              std::string& sound, std::optional<int>& precision) {
  if (!a.is_object()) fail(where + " must be an object");
  only_keys(
      a, where,
      {"name", "id_stamp", "id_serial", "sound", "precision", "commence", "expiry", "day_from",
       "day_to", "weekdays", "fixed_times", "autoplay", "script", "chimes", "confirm", "manual"});
  package_record_spec r;
  if (!a.contains("name")) fail(where + ": \"name\" is required");
  r.name = text(a["name"], where + ".name", 255);
  if (!a.contains("id_stamp")) fail(where + ": \"id_stamp\" is required");
  r.id_stamp = int32(a["id_stamp"], where + ".id_stamp");
  if (a.contains("sound")) sound = text(a["sound"], where + ".sound", 4096);
  if (a.contains("id_serial")) {
    r.id_serial = static_cast<std::int32_t>(
        integer(a["id_serial"], where + ".id_serial", 0, std::numeric_limits<std::int32_t>::max()));
  } else if (sound.empty()) {
    fail(where + ": \"id_serial\" is required for an announcement without \"sound\"");
  }
  if (a.contains("precision")) {
    precision = static_cast<int>(integer(a["precision"], where + ".precision", 8, 12));
    if (*precision != 8 && *precision != 12) fail(where + ".precision must be 8 or 12");
  }
  if (a.contains("commence")) r.commence = int32(a["commence"], where + ".commence");
  if (a.contains("expiry")) r.expiry = int32(a["expiry"], where + ".expiry");
  if (a.contains("day_from")) {
    r.day_from = static_cast<std::int32_t>(integer(a["day_from"], where + ".day_from", 0, 86400));
  }
  if (a.contains("day_to")) {
    r.day_to = static_cast<std::int32_t>(integer(a["day_to"], where + ".day_to", 0, 86400));
  }
  if (a.contains("weekdays")) {
    r.weekdays = static_cast<std::uint8_t>(integer(a["weekdays"], where + ".weekdays", 0, 127));
  }
  if (a.contains("fixed_times")) {
    const json& t = a["fixed_times"];
    if (!t.is_array() || t.size() > max_fixed_times) {
      fail(where + ".fixed_times must be a list of at most 255 times");
    }
    for (std::size_t i = 0; i < t.size(); ++i) {
      r.fixed_times.push_back(static_cast<std::int32_t>(
          integer(t[i], where + ".fixed_times[" + std::to_string(i) + "]", 0, 86399)));
    }
  }
  if (a.contains("autoplay")) {
    r.autoplay =
        static_cast<std::int16_t>(integer(a["autoplay"], where + ".autoplay", -32768, 32767));
  }
  if (a.contains("script")) r.script = text(a["script"], where + ".script", max_script_length);
  if (a.contains("chimes")) r.chimes = boolean(a["chimes"], where + ".chimes");
  if (a.contains("confirm")) r.confirm = boolean(a["confirm"], where + ".confirm");
  if (a.contains("manual")) r.manual = boolean(a["manual"], where + ".manual");
  if (version == 0 && (r.confirm || !r.manual)) {
    fail(where + ": a version 0 package cannot carry \"confirm\" or \"manual\"");
  }
  return r;
}

package_description spec_of(const json& j, const std::filesystem::path& folder) {
  if (!j.is_object()) fail("the description must be a JSON object");
  only_keys(j, "package", {"version", "addressee", "customers", "list", "notice", "announcements"});
  package_description spec;
  package_build& b = spec.build;
  if (j.contains("version"))
    b.version = static_cast<std::int32_t>(integer(j["version"], "version", 0, 1));
  if (j.contains("addressee")) {
    b.addressee = int32(j["addressee"], "addressee");
    if (addressee_list_count(b.addressee) != 0) {
      fail("addressee -4096..-1 is written by the tool: give \"customers\" instead");
    }
  }
  if (j.contains("customers")) {
    const json& c = j["customers"];
    if (!c.is_array() || c.empty() || c.size() > static_cast<std::size_t>(max_addressee_list)) {
      fail("customers must be a list of 1 to 4096 customer numbers");
    }
    for (std::size_t i = 0; i < c.size(); ++i) {
      b.customers.push_back(int32(c[i], "customers[" + std::to_string(i) + "]"));
    }
  }
  if (j.contains("list")) b.has_list = boolean(j["list"], "list");
  if (j.contains("notice")) {
    const json& n = j["notice"];
    if (!n.is_object()) fail("notice must be an object");
    only_keys(n, "notice", {"next_show", "repeat", "text", "clear"});
    package_notice notice;
    if (n.contains("clear") && boolean(n["clear"], "notice.clear")) {
      notice.next_show = moment_never;
    } else {
      if (!n.contains("next_show")) fail("notice: \"next_show\" is required (or \"clear\": true)");
      notice.next_show = int32(n["next_show"], "notice.next_show");
      if (n.contains("repeat")) notice.repeat = int32(n["repeat"], "notice.repeat");
      if (n.contains("text")) notice.text = text(n["text"], "notice.text", 65535);
    }
    b.notice = notice;
  }
  if (j.contains("announcements")) {
    const json& list = j["announcements"];
    if (!list.is_array() || list.size() > 127) fail("announcements must be a list of at most 127");
    if (!b.has_list && !list.empty()) fail("announcements given but \"list\" is false");
    for (std::size_t i = 0; i < list.size(); ++i) {
      std::string sound;
      std::optional<int> precision;
      b.records.push_back(record_of(list[i], "announcements[" + std::to_string(i) + "]", b.version,
                                    sound, precision));
      if (!sound.empty()) {
        std::filesystem::path p(sound);
        if (p.is_relative()) p = folder / p;
        sound = p.string();
      }
      spec.sound_paths.push_back(sound);
      spec.precisions.push_back(precision);
    }
  }
  std::size_t content = build_content(b).size();
  if (content > static_cast<std::size_t>(max_content_length)) {
    fail("the records and notice take " + std::to_string(content) +
         " bytes; a package holds at most 32768");
  }
  return spec;
}

bool ends_with_wav(const std::string& path) {
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return ext == ".wav" || ext == ".wave";
}

}  // namespace

std::optional<package_description> read_package_description(const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    std::fprintf(stderr, "zta: cannot read %s\n", path.c_str());
    return std::nullopt;
  }
  try {
    json j = json::parse(in);
    return spec_of(j, std::filesystem::path(path).parent_path());
  } catch (const json::exception& e) {
    std::fprintf(stderr, "zta: %s: %s\n", path.c_str(), e.what());
  } catch (const spec_error& e) {
    std::fprintf(stderr, "zta: %s: %s\n", path.c_str(), e.text.c_str());
  }
  return std::nullopt;
}

namespace {

// The clip `zta import` makes of a WAV file (decoded, one channel, 22050 Hz, then processed as a
// recording), built in a scratch data folder.
std::optional<std::vector<std::int16_t>> imported_sound(const std::string& path) {
  std::error_code ec;
  std::string scratch = (std::filesystem::temp_directory_path(ec) / "zta-pack-XXXXXX").string();
  if (ec || ::mkdtemp(scratch.data()) == nullptr) {
    std::fprintf(stderr, "zta: cannot make a scratch folder for %s\n", path.c_str());
    return std::nullopt;
  }
  std::optional<std::vector<std::int16_t>> out;
  {
    station st(scratch + "/");
    sndfile_pcm_decoder_factory decoders;
    import_wav_job job(st, path, &decoders);
    while (job.step()) {
    }
    for (const std::string& w : job.warnings())
      std::fprintf(stderr, "%s: %s\n", path.c_str(), w.c_str());
    std::vector<std::uint8_t> bytes;
    if (job.result() < 0) {
      std::fprintf(stderr, "zta: cannot use WAV %s: %s\n", path.c_str(),
                   import_failure_text(job.failure()));
    } else if (!read_whole_file(clip_path(st, st.content.list[job.result()].clip), bytes)) {
      std::fprintf(stderr, "zta: cannot read the clip made of %s\n", path.c_str());
    } else {
      std::vector<std::int16_t> pcm(bytes.size() / 2);
      for (std::size_t i = 0; i < pcm.size(); ++i)
        pcm[i] = static_cast<std::int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
      out = std::move(pcm);
    }
  }
  std::filesystem::remove_all(scratch, ec);
  return out;
}

}  // namespace

std::optional<std::vector<std::int16_t>> read_sound_file(const std::string& path) {
  std::vector<std::int16_t> mono;
  if (!ends_with_wav(path)) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "zta: cannot read sound %s\n", path.c_str());
      return std::nullopt;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    mono.resize(bytes.size() / 2);
    for (std::size_t i = 0; i < mono.size(); ++i) {
      mono[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(bytes[2 * i]) |
                                          (static_cast<std::uint8_t>(bytes[2 * i + 1]) << 8));
    }
    return mono;
  }
  return imported_sound(path);
}

}  // namespace zta::tool
