#pragma once
// The process: run mode, single running copy and hand-over, the player's front end, shutdown.
namespace zta {

// Debug option (removed before the arguments are examined): "--screenshot FILE" shows the window,
// saves a picture of it to FILE after a moment and ends.
int run_program(int argc, char** argv);

}  // namespace zta
