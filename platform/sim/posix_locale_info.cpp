#include "platform/sim/posix_locale_info.hpp"

#include <langinfo.h>
#include <locale.h>

namespace zta {

date_order posix_locale_info::short_date_order() const {
  locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return date_order::month_day_year;
  const date_order order = date_order_from_format(nl_langinfo_l(D_FMT, loc));
  freelocale(loc);
  return order;
}

}  // namespace zta
