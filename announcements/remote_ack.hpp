#pragma once
// Acknowledgements of remote requests: when the player takes "NAME.ply" from the control folder
// it leaves "NAME.ack" there, a few lines of text saying whether the request plays, what started
// or why nothing did, and when. A companion that waits for it reads and deletes it; a peer that
// knows nothing of them ignores them, and the player removes its own after a day.
//
//   ZTA acknowledgement
//   request: NAME.ply
//   result: played | refused
//   detail: started "Sale" | no current announcement is named "Sael" | ...
//   moment: 2026-12-10 20:15:03
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace zta {

inline constexpr char ack_suffix[] = ".ack";
inline constexpr char ack_first_line[] = "ZTA acknowledgement";
// Bigger files are no acknowledgement of ours; a reader reads no more.
inline constexpr std::size_t ack_max_size = 1024;
// The player removes its acknowledgements once they are this old.
inline constexpr std::int64_t ack_lifetime_seconds = 24 * 60 * 60;

struct acknowledgement {
  std::string request;  // the request file's name
  bool played = false;
  std::string detail;       // what started, or why nothing did
  std::int32_t moment = 0;  // on the `now` scale
};

// "NAME.ply" -> "NAME.ack" (the ".ply" in any case); other names get ".ack" appended.
std::string ack_file_name(std::string_view request_file);
// The text; control characters in the names become '?', so each field stays one line.
std::string encode_ack(const acknowledgement& a);
// False unless the text is a whole acknowledgement (first line, every field, a valid moment).
bool decode_ack(std::string_view text, acknowledgement& out);
// "YYYY-MM-DD HH:MM:SS" of a moment on the `now` scale.
std::string ack_moment_text(std::int32_t moment);

}  // namespace zta
