#include "platform/api/locale_info.hpp"

#include <langinfo.h>
#include <locale.h>

namespace zta {

date_order locale_date_order() {
  // A private locale object, so the process locale is left as it is.
  locale_t loc = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return date_order::month_day_year;
  const date_order order = date_order_from_format(nl_langinfo_l(D_FMT, loc));
  freelocale(loc);
  return order;
}

}  // namespace zta
