#include "audio/device_memory.hpp"

#include <string_view>

#include "base/file_io.hpp"

namespace zta {

namespace {

constexpr std::size_t max_file_bytes = 64 * 1024;

struct role_info {
  device_role role;
  const char* key;
  const char* what;
  std::int8_t settings_block::*field;
  std::vector<std::string> sound_device_lists::*list;
};

constexpr role_info roles[] = {
    {device_role::sound_out, "sound-out", "sound-out device", &settings_block::sound_out_device,
     &sound_device_lists::wave_out},
    {device_role::audition, "audition", "audition device", &settings_block::audition_device,
     &sound_device_lists::wave_out},
    {device_role::record, "record", "record device", &settings_block::record_device,
     &sound_device_lists::wave_in},
    {device_role::music, "music", "music line", &settings_block::music_device,
     &sound_device_lists::mixer_lines},
    {device_role::microphone, "microphone", "microphone line", &settings_block::mic_device,
     &sound_device_lists::mixer_lines},
};

const role_info& info(device_role r) {
  for (const role_info& i : roles) {
    if (i.role == r) return i;
  }
  return roles[0];
}

}  // namespace

std::string device_change::text() const {
  return std::string(info(role).what) + " \"" + name + "\" found again as number " +
         std::to_string(to) + " (was " + std::to_string(from) + ")";
}

device_memory::device_memory(std::string data_folder)
    : path_(std::move(data_folder) + device_names_file) {
  std::vector<std::uint8_t> bytes;
  file_handle f = open_regular_for_read(path_);
  if (!f) return;
  bytes.resize(max_file_bytes);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f.get()));
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    for (const role_info& i : roles) {
      if (line.substr(0, tab) == i.key && tab + 1 < line.size())
        names_[i.role] = std::string(line.substr(tab + 1));
    }
  }
}

bool device_memory::remember(const settings_block& s, const sound_device_lists& lists) {
  std::map<device_role, std::string> now;
  std::string text;
  for (const role_info& i : roles) {
    const int index = s.*i.field;
    const std::vector<std::string>& list = lists.*i.list;
    if (index < 0 || index >= static_cast<int>(list.size())) continue;
    // The separators cannot be part of a kept name; such a device is simply not kept.
    const std::string& name = list[static_cast<std::size_t>(index)];
    if (name.empty() || name.find_first_of("\t\n") != std::string::npos) continue;
    now[i.role] = name;
    text += std::string(i.key) + '\t' + name + '\n';
  }
  if (now == names_ && file_exists(path_)) return true;
  if (!replace_file_atomically(
          path_, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size())))
    return false;
  names_ = std::move(now);
  return true;
}

std::vector<device_change> device_memory::start(settings_block& s,
                                                const sound_device_lists& lists) {
  if (!file_exists(path_)) {
    remember(s, lists);
    return {};
  }
  return find_again(s, lists, all_device_roles);
}

std::vector<device_change> device_memory::find_again(settings_block& s,
                                                     const sound_device_lists& lists,
                                                     std::span<const device_role> which) const {
  std::vector<device_change> changes;
  for (device_role r : which) {
    const role_info& i = info(r);
    auto kept = names_.find(r);
    const int index = s.*i.field;
    if (kept == names_.end() || index < 0) continue;
    const std::vector<std::string>& list = lists.*i.list;
    if (index < static_cast<int>(list.size()) &&
        list[static_cast<std::size_t>(index)] == kept->second)
      continue;
    for (std::size_t j = 0; j < list.size() && j < 128; ++j) {
      if (list[j] != kept->second) continue;
      s.*i.field = static_cast<std::int8_t>(j);
      changes.push_back({r, kept->second, index, static_cast<int>(j)});
      break;
    }
  }
  return changes;
}

}  // namespace zta
