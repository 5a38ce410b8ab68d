#include "ucci/input_poll.h"

#include <cstdio>
#include <cstring>

#include "platform/clock.h"
#include "ucci/held_lines.h"
#include "ucci/line_input.h"
#include "ucci/print.h"

void poll_input(Count& e) {
    LineInput& input = process_input();
    static char line[LINE_BUFFER_SIZE];
    // Every waiting line is read, even when no more can be held, so that
    // "stop", "isready" and "quit" are always answered.
    while (input.get_line(line)) {
        if (std::strcmp(line, "stop") == 0) {
            e.stop_flag = 1;
            return;
        }
        if (std::strcmp(line, "quit") == 0) {
            // The command loop leaves once the best move is out; later lines are not served.
            e.quit_requested = 1;
            e.stop_flag = 1;
            return;
        }
        if (std::strcmp(line, "isready") == 0) {
            print_line("readyok");
        } else if (std::strcmp(line, "ponderhit") == 0 || std::strcmp(line, "ponderhit draw") == 0) {
            // The expected move was played: the budget now counts from here.
            if (e.pondering) {
                e.pondering = 0;
                e.ponderhit = 1;
                e.start_clock = platform::clock_ms();
            }
        } else if (!hold_line(line)) {
            std::fprintf(stderr, "input line dropped: too many lines arrived during the search\n");
        }
    }
    if (output_lost()) {
        // Nobody hears the engine any more: end the search and the session.
        e.quit_requested = 1;
        e.stop_flag = 1;
    } else if (input.at_end()) {
        // The lines held before the end of input are still served, then the loop ends.
        e.stop_flag = 1;
    }
}
