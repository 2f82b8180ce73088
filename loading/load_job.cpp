#include "loading/load_job.hpp"

#include <limits>

#include "announcements/clip_files.hpp"
#include "base/byte_codec.hpp"

namespace zta {

const char* load_stop_text(load_stop s) {
  switch (s) {
    case load_stop::none:
      return "";
    case load_stop::file_cut:
      return "The file ends inside a sound.";
    case load_stop::damaged_header:
      return "The header of a sound is damaged.";
    case load_stop::no_free_clip:
      return "There is no free clip number left.";
    case load_stop::clip_not_created:
      return "A sound file could not be created in the data folder.";
  }
  return "";
}

dlexe::dlexe(station& st) : st_(st) {}
dlexe::~dlexe() {
  let_go_clip();
}

void dlexe::begin_sections(file_handle package) {
  input_ = std::move(package);
  output_.reset();
  section_open_ = false;
  mode_ = input_ ? load_mode::file_sections : load_mode::idle;
}

void dlexe::begin_pieces(std::string drive_folder) {
  drive_folder_ = std::move(drive_folder);
  input_.reset();
  output_.reset();
  section_open_ = false;
  piece_letter_ = 'a';
  mode_ = load_mode::disk_pieces;
}

bool dlexe::step() {
  switch (mode_) {
    case load_mode::file_sections:
      return file_step();
    case load_mode::disk_pieces:
      return disk_step();
    case load_mode::idle:
      break;
  }
  return false;
}

void dlexe::cancel() {
  if (mode_ != load_mode::idle) end(load_stop::none);
}

bool dlexe::end(load_stop why) {
  input_.reset();
  output_.reset();
  let_go_clip();
  section_open_ = false;
  mode_ = load_mode::idle;
  if (why != load_stop::none) {
    tally_.ended_early = true;
    tally_.stopped = why;
  }
  return false;
}

void dlexe::hold_clip(int n) {
  clip_no_ = n;
  write_failed_ = false;
  // Nothing deletes or gives out the clip while it is written (an idle save runs in between).
  set_clip_filling(st_, n, true);
}

void dlexe::let_go_clip() {
  set_clip_filling(st_, clip_no_, false);
  clip_no_ = -1;
}

std::string dlexe::temp_path(int slot) const {
  return st_.data_folder + temp_piece_name(slot);
}

namespace {

bool read_section_header(std::FILE* f, std::int32_t& id_stamp, std::int32_t& k,
                         std::int32_t& piece_offset) {
  std::uint8_t raw[section_header_size];
  if (std::fread(raw, 1, sizeof raw, f) != sizeof raw) return false;
  id_stamp = load_le<std::int32_t>(raw);
  k = load_le<std::int32_t>(raw + 4);
  piece_offset = load_le<std::int32_t>(raw + 8);
  return true;
}

constexpr std::int32_t no_magnitude = std::numeric_limits<std::int32_t>::min();

}  // namespace

bool dlexe::file_step() {
  if (!section_open_) {
    section_header h;
    if (!read_section_header(input_.get(), h.id_stamp, h.k, h.piece_offset))
      return end(load_stop::none);
    // A K without a magnitude is a damaged header: the rest of the file cannot be trusted.
    if (!start_section(decoder_, h.k)) return end(load_stop::damaged_header);
    section_ = h;
    const int clip = find_free_clip(st_);
    if (clip < 0) return end(load_stop::no_free_clip);
    output_ = create_clip(st_, clip);
    if (!output_) return end(load_stop::clip_not_created);
    hold_clip(clip);
    section_open_ = true;
  }
  return decode_block(true);
}

bool dlexe::disk_step() {
  if (!input_) return open_next_piece();
  return decoding_ ? decode_block(false) : copy_block();
}

bool dlexe::open_next_piece() {
  if (piece_letter_ > 'z') return end(load_stop::none);
  std::string path = drive_folder_ + piece_letter_ + ".aud";
  ++piece_letter_;
  input_ = open_for_read(path);
  if (!input_) return end(load_stop::none);  // no more pieces on this disk: the load is complete
  section_header h;
  if (!read_section_header(input_.get(), h.id_stamp, h.k, h.piece_offset) || h.k == no_magnitude ||
      h.piece_offset < 0) {
    input_.reset();
    return true;
  }
  section_ = h;
  bool wanted = false;
  for (const ann_blk& a : st_.content.list) {
    if (a.id_stamp == h.id_stamp && a.id_serial == h.samples() && a.clip == -1) {
      wanted = true;
      break;
    }
  }
  if (!wanted) {
    ++tally_.pieces_skipped;
    input_.reset();
    return true;
  }
  if (h.piece_offset == 0) {
    const int clip = find_free_clip(st_);
    if (clip < 0) return end(load_stop::no_free_clip);
    output_ = create_clip(st_, clip);
    if (!output_) return end(load_stop::clip_not_created);
    hold_clip(clip);
    start_section(decoder_, h.k);
    decoding_ = true;
    return true;
  }
  for (partial_sound& p : st_.pieces.partial) {
    if (valid_clip(p.clip) && p.id_stamp == h.id_stamp && p.samples == h.samples() &&
        p.decoder.consumed == h.piece_offset) {
      // The entry is emptied only once the clip is open again, so a failure keeps the sound.
      output_ = append_clip(st_, p.clip);
      if (!output_) return end(load_stop::clip_not_created);
      hold_clip(p.clip);
      decoder_ = p.decoder;
      p.clip = -1;  // stays allocated: it is being filled
      decoding_ = true;
      return true;
    }
  }
  int slot = st_.pieces.next_temporary;
  st_.pieces.next_temporary = (slot + 1) % piece_slots;
  temp_piece& t = st_.pieces.temporary[static_cast<std::size_t>(slot)];
  t = temp_piece{h.id_stamp, h.samples(), h.piece_offset, st_.clock.now};
  output_ = create_for_write(temp_path(slot));
  if (!output_) {
    t = temp_piece{};
    return end(load_stop::clip_not_created);
  }
  ++tally_.pieces_stored;
  decoding_ = false;
  return true;
}

bool dlexe::copy_block() {
  std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), input_.get());
  if (got != 0 && std::fwrite(buffer_.data(), 1, got, output_.get()) != got) {
    // A piece that cannot be kept whole is no piece at all.
    for (int i = 0; i < piece_slots; ++i) {
      temp_piece& t = st_.pieces.temporary[static_cast<std::size_t>(i)];
      if (t.id_stamp == section_.id_stamp && t.piece_offset == section_.piece_offset) {
        output_.reset();
        delete_file(temp_path(i));
        t = temp_piece{};
      }
    }
    input_.reset();
    output_.reset();
    return true;
  }
  if (got < buffer_.size()) {
    input_.reset();
    output_.reset();
  }
  return true;
}

bool dlexe::decode_block(bool file_form) {
  std::size_t got = std::fread(buffer_.data(), 1, buffer_.size(), input_.get());
  clip_file_output out(output_.get());
  std::size_t used =
      decode_section(decoder_, std::span<const std::uint8_t>(buffer_.data(), got), out);
  if (out.failed()) write_failed_ = true;
  if (decoder_.done) {
    if (file_form) {
      // Back over what the section did not use: the next step reads the next section header.
      auto back = static_cast<long>(got - used);
      if (back != 0) std::fseek(input_.get(), -back, SEEK_CUR);
    } else {
      input_.reset();
    }
    return finish_sound();
  }
  if (got == buffer_.size()) return true;
  if (file_form) return end(load_stop::file_cut);
  input_.reset();
  if (continue_from_temporary()) return true;
  save_partial();
  return true;
}

bool dlexe::finish_sound() {
  // What the buffer still holds must reach the file too.
  if (std::fflush(output_.get()) != 0) write_failed_ = true;
  bool good = !decoder_.error && !write_failed_;
  if (decoder_.error) ++tally_.checksum_failures;
  if (write_failed_) ++tally_.write_failures;
  output_.reset();
  if (good) {
    attach(mode_ == load_mode::disk_pieces);
  } else {
    ++tally_.unmatched;
  }
  section_open_ = false;
  let_go_clip();
  return true;
}

void dlexe::attach(bool prefer_without_clip) {
  int found = -1;
  for (int i = 0; i < st_.content.list.count(); ++i) {
    const ann_blk& a = st_.content.list[i];
    if (a.id_stamp != section_.id_stamp || a.id_serial != section_.samples()) continue;
    if (found < 0) found = i;
    if (!prefer_without_clip || a.clip == -1) {
      found = i;
      break;
    }
  }
  if (found < 0) {
    ++tally_.unmatched;  // the number stays free and the next section takes it again
    return;
  }
  st_.content.list[found].clip = static_cast<std::int16_t>(clip_no_);
  st_.clip_use[static_cast<std::size_t>(clip_no_)] |= clip_allocated;
  ++tally_.attached;
}

bool dlexe::continue_from_temporary() {
  for (int i = 0; i < piece_slots; ++i) {
    temp_piece& t = st_.pieces.temporary[static_cast<std::size_t>(i)];
    if (t.piece_offset == 0 || t.id_stamp != section_.id_stamp || t.samples != section_.samples() ||
        t.piece_offset != decoder_.consumed) {
      continue;
    }
    file_handle f = open_for_read(temp_path(i));
    if (!f) continue;
    t.stored_at = 0;  // used up: the next clean-up deletes it
    input_ = std::move(f);
    return true;
  }
  return false;
}

void dlexe::save_partial() {
  if (std::fflush(output_.get()) != 0) write_failed_ = true;
  output_.reset();
  if (write_failed_) {
    // Samples are missing: continuing it later would attach a broken sound.
    ++tally_.write_failures;
    const int clip = clip_no_;
    let_go_clip();
    st_.clip_use[static_cast<std::size_t>(clip)] |= clip_allocated;  // a resumed one already is
    release_clip(st_, clip);
    return;
  }
  int slot = st_.pieces.next_partial;
  st_.pieces.next_partial = (slot + 1) % piece_slots;
  partial_sound& p = st_.pieces.partial[static_cast<std::size_t>(slot)];
  if (valid_clip(p.clip)) release_clip(st_, p.clip);
  p = partial_sound{static_cast<std::int16_t>(clip_no_), section_.id_stamp, section_.samples(),
                    st_.clock.now, decoder_};
  st_.clip_use[static_cast<std::size_t>(clip_no_)] |= clip_allocated;
  let_go_clip();
  ++tally_.partial_saved;
}

void release_pieces(station& st) {
  for (int i = 0; i < piece_slots; ++i) {
    temp_piece& t = st.pieces.temporary[static_cast<std::size_t>(i)];
    if (t.piece_offset != 0) delete_file(st.data_folder + temp_piece_name(i));
    t = temp_piece{};
    partial_sound& p = st.pieces.partial[static_cast<std::size_t>(i)];
    if (valid_clip(p.clip)) release_clip(st, p.clip);
    p = partial_sound{};
  }
}

}  // namespace zta
