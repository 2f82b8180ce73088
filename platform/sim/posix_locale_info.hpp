#pragma once
// The locale of the environment (LC_ALL, LC_TIME, LANG): the date order of its short date format
// (nl_langinfo(D_FMT)), read through a private locale object so the process locale is untouched.
#include "platform/api/locale_info.hpp"

namespace zta {

class posix_locale_info final : public locale_info {
 public:
  date_order short_date_order() const override;
};

// A locale that answers a given order (tests).
class fixed_locale_info final : public locale_info {
 public:
  explicit fixed_locale_info(date_order order) : order_(order) {}
  date_order short_date_order() const override { return order_; }

 private:
  date_order order_;
};

}  // namespace zta
