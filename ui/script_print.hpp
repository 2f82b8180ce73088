#pragma once
// "Print &Script": the scripts of the announcements listed in the Announcement Control dialog as
// one document "ZTA Print Script": the header block at the top of the first page, then each entry
// (name in brackets, then the script), 12-point proportional type with a 5 % left margin. An entry
// never splits: one that does not fit starts a new page, one taller than a page is cut at its foot.
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "announcements/edit_rows.hpp"
#include "announcements/station.hpp"

class QPrinter;
class QWidget;

namespace zta::ui {

struct script_row {
  std::string name;    // as stored
  std::string script;  // as stored
};

// The rows' announcements as they are stored (edits not yet stored are not printed).
std::vector<script_row> script_rows(const station& st, const edit_rows& rows);

// Draws the document on `printer` (already set up: a real printer or a PDF file).
void print_script_document(QPrinter& printer, const std::vector<script_row>& rows);

// Asks for the printer (the system's print dialog, without page ranges or selection), then
// prints; false when the user cancelled.
using printer_chooser = std::function<bool(QPrinter& printer, QWidget* owner)>;
bool choose_printer(QPrinter& printer, QWidget* owner);
bool print_scripts(QWidget* owner, const std::vector<script_row>& rows,
                   const printer_chooser& choose = choose_printer);

}  // namespace zta::ui
