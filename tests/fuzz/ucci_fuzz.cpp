// Fuzzes the command line handling as the engine runs it: the line reader,
// the parser, position set-up with move lists, go parsing and the clock
// arithmetic, a shallow search with its input poll, banmoves and options.
// Afterwards the engine must still answer a legal move from a fresh position.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <unistd.h>

#include "fuzz_engine.h"
#include "position/move_text.h"
#include "ucci/command.h"
#include "ucci/go.h"
#include "ucci/held_lines.h"
#include "ucci/line_input.h"
#include "ucci/ucci_loop.h"

namespace {

constexpr size_t LONGEST_INPUT = 1 << 16;
constexpr int MAX_COMMANDS = 64;
constexpr int32_t SEARCH_NODES = 1500;  // every search stays shallow, whatever the go says

// The go's own limits are worked out (and counted) as given; the search then
// runs under a node limit.
void shallow_go(Count& e, loop_state_t& s) {
    set_go_limits(e, s.cmd, s.go);
    command_t shallow = s.cmd;
    shallow.go_mode = GO_NODES;
    shallow.go_limit = s.cmd.go_mode == GO_NODES && s.cmd.go_limit < SEARCH_NODES ? s.cmd.go_limit : SEARCH_NODES;
    handle_go(e, shallow, s.go);
}

void serve(Count& e, loop_state_t& s, const char* line) {
    const int code = parse_command(line, s.cmd);
    if (code == CMD_GO) shallow_go(e, s);
    else if (code != CMD_QUIT) serve_command(e, s, code);
}

void require(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > LONGEST_INPUT) return 0;
    Count& e = fuzz_engine();
    drop_held_lines();
    auto s = std::make_unique<loop_state_t>();
    e.book_option = &s->book;
    e.quit_requested = 0;
    refresh_switches(s->mirror, e);
    serve(e, *s, "position startpos");

    const int fd = bytes_as_file(data, size);
    if (fd < 0) return 0;
    LineInput& input = process_input();
    input.init(fd);
    for (int n = 0; n < MAX_COMMANDS && !e.quit_requested; ++n) {
        const int code = read_command(input, s->cmd);
        if (code == CMD_QUIT) break;
        if (code == CMD_GO) shallow_go(e, *s);
        else serve_command(e, *s, code);
    }
    input.init(-1);  // nothing more to read
    close(fd);

    // Whatever came before, a fresh game still gets a legal answer.
    e.quit_requested = 0;
    serve(e, *s, "position fen rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1 moves h2e2");
    serve(e, *s, "go depth 1");
    require(e.ready_state == 1);
    const move_t best = e.best_line[0];
    char text[MOVE_TEXT_SIZE];
    move_to_text(best, text);
    move_t legal{};
    require(best.from != 0 && find_legal_move(e, text, legal));
    e.book_option = nullptr;
    return 0;
}
