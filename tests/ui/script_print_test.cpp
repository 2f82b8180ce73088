// The printed scripts, into PDF files read back with poppler's pdfinfo and pdftotext.
#include "ui/script_print.hpp"

#include <gtest/gtest.h>

#include <QPrinter>
#include <string>
#include <vector>

#include "tests/common/temp_folder.hpp"
#include "tests/tools/run_command.hpp"

namespace zta::test {
namespace {

using ui::script_row;

class ScriptPrint : public ::testing::Test {
 protected:
  // Prints the rows into a PDF; the page count.
  int print(const std::vector<script_row>& rows) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf()));
    printer.setPageSize(QPageSize(QPageSize::A4));
    ui::print_script_document(printer, rows);
    return pages();
  }
  std::string pdf() const { return dir.file("script.pdf"); }
  int pages() const {
    const auto r = run_command("pdfinfo '" + pdf() + "' 2>/dev/null");
    const auto at = r.out.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(r.out.substr(at + 6));
  }
  std::string info() const { return run_command("pdfinfo '" + pdf() + "'").out; }
  std::string page_text(int page) const {
    const std::string p = std::to_string(page);
    return run_command("pdftotext -layout -f " + p + " -l " + p + " '" + pdf() + "' -").out;
  }
  static std::string lines(const std::string& prefix, int n) {
    std::string s;
    for (int i = 1; i <= n; ++i) s += prefix + " " + std::to_string(i) + "\r\n";
    return s;
  }

  temp_folder dir;
};

TEST_F(ScriptPrint, NoRowsPrintTheHeaderAloneOnOnePage) {
  ASSERT_EQ(print({}), 1);
  EXPECT_NE(info().find("ZTA Print Script"), std::string::npos) << info();
  const std::string text = page_text(1);
  for (const char* line : {"ANNOUNCEMENTS SCRIPT", "Producer", "VRX Tolvane", "www.vrx-tolvane.com",
                           "Software", "ZTA Announcement Player"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  EXPECT_LT(text.find("ANNOUNCEMENTS SCRIPT"), text.find("Producer"));
}

TEST_F(ScriptPrint, EntriesFollowTheHeaderAndOneThatDoesNotFitStartsAPage) {
  const std::vector<script_row> rows = {
      {"Opening", "Good morning & welcome."},
      {"No Script", ""},
      {"Long", lines("long", 25)},
      {"Next", lines("next", 20)},
  };
  ASSERT_EQ(print(rows), 2);
  const std::string first = page_text(1);
  EXPECT_NE(first.find("[Opening]"), std::string::npos);
  EXPECT_NE(first.find("Good morning & welcome."), std::string::npos);  // no mnemonics
  EXPECT_NE(first.find("[No Script]"), std::string::npos);
  EXPECT_NE(first.find("long 25"), std::string::npos);
  EXPECT_EQ(first.find("[Next]"), std::string::npos);
  const std::string second = page_text(2);
  EXPECT_NE(second.find("[Next]"), std::string::npos);
  EXPECT_NE(second.find("next 20"), std::string::npos);
  EXPECT_EQ(second.find("ANNOUNCEMENTS SCRIPT"), std::string::npos);  // the header once
}

TEST_F(ScriptPrint, AnEntryTallerThanAPageTakesOneAndIsCutAtItsFoot) {
  const std::vector<script_row> rows = {
      {"Short", "a line"},
      {"Tall", lines("tall", 200)},
      {"After", "the end"},
  };
  ASSERT_EQ(print(rows), 3);
  EXPECT_EQ(page_text(1).find("[Tall]"), std::string::npos);
  const std::string tall = page_text(2);
  EXPECT_NE(tall.find("[Tall]"), std::string::npos);
  EXPECT_NE(tall.find("tall 1\n"), std::string::npos);
  EXPECT_EQ(tall.find("tall 200"), std::string::npos);  // never split onto the next page
  const std::string after = page_text(3);
  EXPECT_NE(after.find("[After]"), std::string::npos);
  EXPECT_EQ(after.find("tall"), std::string::npos);
}

TEST_F(ScriptPrint, CancellingThePrinterChoicePrintsNothing) {
  bool asked = false;
  EXPECT_FALSE(ui::print_scripts(nullptr, {{"A", "b"}}, [&](QPrinter& p, QWidget*) {
    asked = true;
    EXPECT_EQ(p.docName(), "ZTA Print Script");
    p.setOutputFileName(QString::fromStdString(pdf()));
    return false;
  }));
  EXPECT_TRUE(asked);
  EXPECT_FALSE(dir.exists("script.pdf"));
  EXPECT_TRUE(ui::print_scripts(nullptr, {{"A", "b"}}, [&](QPrinter& p, QWidget*) {
    p.setOutputFormat(QPrinter::PdfFormat);
    p.setOutputFileName(QString::fromStdString(pdf()));
    return true;
  }));
  EXPECT_EQ(pages(), 1);
}

}  // namespace
}  // namespace zta::test
