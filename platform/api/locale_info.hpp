#pragma once
// The regional settings the program reads: the order of day, month and year in short dates.
//
// Contract: short_date_order() answers at once and never fails (an unknown locale gives
// month_day_year); callers read it once at start and keep the answer.
#include "base/date_order.hpp"

namespace zta {

class locale_info {
 public:
  virtual ~locale_info() = default;
  virtual date_order short_date_order() const = 0;
};

}  // namespace zta
