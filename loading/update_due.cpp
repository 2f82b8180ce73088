#include "loading/update_due.hpp"

#include <cstdint>

namespace zta {

bool update_due(const station& st) {
  const load_options& o = st.load_opts;
  const cached_clock& c = st.clock;
  if (o.method == load_method::disk) return false;
  if (o.update_interval <= 0 || o.min_retry <= 0) return false;
  // Sums are taken wide: times near the end of the scale must not wrap into the past.
  if (std::int64_t{c.now} < std::int64_t{o.last_success} + o.update_interval) return false;
  if (o.update_interval > daily_check_threshold) {
    if (c.now_secs > daily_check_latest) return false;
    std::int32_t slot = st.content.owner.customer_number() % 64;
    if (slot < 0) slot += 64;
    if (c.now_secs < slot * daily_check_spread) return false;
  }
  return std::int64_t{c.now} >= std::int64_t{o.last_attempt} + o.min_retry;
}

}  // namespace zta
