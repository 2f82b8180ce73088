#pragma once
#include "announcements/date_order.hpp"

namespace zta {
// The regional date order, from the order of day, month and year in the locale's short date
// format (LC_TIME of the environment). Read once by the caller and kept.
date_order locale_date_order();
}  // namespace zta
