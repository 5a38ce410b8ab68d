// The tavox executable: the UCCI engine, plus developer commands
// (perft, bench, eval, book) when given arguments.
#include "tools/dev_commands.h"
#include "ucci/ucci_loop.h"

int main(int argc, char** argv) {
    if (const dev_command_fn command = find_dev_command(argc, argv)) return command(argc - 2, argv + 2);
    return run_ucci();
}
