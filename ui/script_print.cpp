#include "ui/script_print.hpp"

#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>

#include "announcements/script_sheet.hpp"
#include "announcements/text_encoding.hpp"

namespace zta::ui {

namespace {

constexpr int text_flags = Qt::TextWordWrap;  // no mnemonic processing: '&' prints as is

QString printable(const std::string& bytes) {
  return QString::fromStdString(printable_lines(display_text(bytes)));
}

}  // namespace

std::vector<script_row> script_rows(const station& st, const edit_rows& rows) {
  std::vector<script_row> out;
  for (int r = 0; r < rows.count(); ++r) {
    const int i = rows.index(r);
    if (i < 0 || i >= st.content.list.count()) continue;
    const ann_blk& a = st.content.list[i];
    out.push_back({std::string(a.name_text()), a.script});
  }
  return out;
}

void print_script_document(QPrinter& printer, const std::vector<script_row>& rows) {
  printer.setDocName(QString::fromLatin1(script_document_name));
  QPainter p;
  if (!p.begin(&printer)) return;  // a printer failure is the system's to report
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(12);
  p.setFont(font);

  // The printable area in device units, with the left edge moved in by a twentieth of its width.
  const QRect area(0, 0, printer.width(), printer.height());
  const int left = area.left() + area.width() / 20;
  const auto rect_from = [&](int top) {
    return QRect(left, top, area.right() - left + 1, area.bottom() - top + 1);
  };

  const QString header = printable(script_header());
  const int header_height = p.boundingRect(rect_from(area.top()), text_flags, header).height();
  p.drawText(rect_from(area.top()), text_flags, header);

  std::vector<QString> texts;
  std::vector<int> heights;
  for (const script_row& r : rows) {
    texts.push_back(printable(script_entry(r.name, r.script)));
    heights.push_back(p.boundingRect(rect_from(area.top()), text_flags, texts.back()).height());
  }
  const auto places = place_entries(area.top(), area.bottom() + 1, header_height, heights);
  int page = 0;
  for (std::size_t k = 0; k < texts.size(); ++k) {
    while (page < places[k].page) {
      printer.newPage();
      ++page;
    }
    // Clipped to the page: an entry taller than a page is cut at its foot.
    p.drawText(rect_from(places[k].top), text_flags, texts[k]);
  }
  p.end();
}

bool choose_printer(QPrinter& printer, QWidget* owner) {
  QPrintDialog dlg(&printer, owner);
  dlg.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dlg.setOption(QAbstractPrintDialog::PrintSelection, false);
  return dlg.exec() == QDialog::Accepted;
}

bool print_scripts(QWidget* owner, const std::vector<script_row>& rows,
                   const printer_chooser& choose) {
  QPrinter printer(QPrinter::HighResolution);
  printer.setDocName(QString::fromLatin1(script_document_name));
  if (!choose || !choose(printer, owner)) return false;
  print_script_document(printer, rows);
  return true;
}

}  // namespace zta::ui
