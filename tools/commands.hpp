#pragma once
// The zta tool's commands, one file each. Each returns the process exit code.
#include <string>
#include <vector>

namespace zta::tool {

using arg_list = std::vector<std::string>;

int cmd_list(const arg_list& args);
int cmd_settings(const arg_list& args);
int cmd_resave(const arg_list& args);
int cmd_chime(const arg_list& args);
int cmd_import(const arg_list& args);
int cmd_pack(const arg_list& args);
int cmd_unpack(const arg_list& args);
int cmd_inspect(const arg_list& args);
int cmd_preview(const arg_list& args);
int cmd_report(const arg_list& args);
int cmd_owner(const arg_list& args);
int cmd_mksetup(const arg_list& args);
int cmd_remote(const arg_list& args);

}  // namespace zta::tool
