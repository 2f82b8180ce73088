#pragma once
// The printed announcement script: its texts and where each entry goes. Lines in these texts are
// separated by LF CR, as the printout has always been written; printable_lines() turns any line
// end into one LF for a drawing interface.
#include <string>
#include <string_view>
#include <vector>

namespace zta {

inline constexpr char script_document_name[] = "ZTA Print Script";
inline constexpr char script_producer_name[] = "VRX Tolvane";
inline constexpr char script_producer_web[] = "www.vrx-tolvane.com";
inline constexpr char script_software_credit[] = "Recording, scheduling and in-store playback";

// "ANNOUNCEMENTS SCRIPT", the producer and the software, ending in two line ends.
std::string script_header();
// "[%s]\n\r\n\r%s\n\r\n\r" with the name and the script (empty when none).
std::string script_entry(std::string_view name, std::string_view script);
// LF CR, CR LF and lone CR become LF.
std::string printable_lines(std::string_view text);

struct sheet_place {
  int page;  // 0 = the first page
  int top;   // device units from the page's top
};

// Where each entry goes, given the heights they take in the page's width. The header starts
// page 0 at `page_top`; an entry that would reach the page's bottom starts a new page (at its top),
// so no entry is split; one taller than a page still takes a page of its own and is cut there.
std::vector<sheet_place> place_entries(int page_top, int page_bottom, int header_height,
                                       const std::vector<int>& heights);

}  // namespace zta
