#pragma once
namespace zta {
enum class date_order { month_day_year = 0, day_month_year = 1, year_month_day = 2 };
// The order of day, month and year in a strftime date format such as "%d/%m/%y".
date_order date_order_from_format(const char* d_fmt);
}  // namespace zta
