#include "ucci/options.h"

#include <cstdio>

#include <string>

#include "book/book_files.h"
#include "book/initialise.h"
#include "platform/program_dir.h"
#include "search/search_memory.h"
#include "search/tt.h"
#include "ucci/go.h"
#include "ucci/print.h"

void refresh_switches(const option_mirror_t& mirror, AIOption& s) {
    s.lazy = mirror.lazy;
    s.time_extension = mirror.time_extension;
    s.mate_threat_extension = 1;
    s.single_reply_extension = 1;
    s.check_extension = 1;
    s.recapture_extension = 1;
    s.endgame_capture_extension = 1;
    s.null_move = 1;
    s.futi = mirror.futi;
    s.nullex = mirror.nullex;
    s.delta = mirror.delta;
    s.tt_probe_switch = 1;
    s.checkqs = mirror.checkqs;
    s.hist = mirror.hist;
    s.killer_bonus = 1;
}

void apply_low_time_rule(option_mirror_t& mirror, AIOption& switches) {
    mirror.time_extension = false;
    refresh_switches(mirror, switches);
}

namespace {

// Each announced option acts: the switches through the mirror, the rest in apply_option.
const char* const announced_options[] = {
    "option usemillisec type check default false",
    "option ponder type check default false",
    "option usebook type check default true",
    "option bookfiles type string",
    "option hashsize type spin min 16 max 512 default 32",
    "option debug type check default false",
    "option newgame type button",
    "option lazy type check default true",
    "option futi type check default true",
    "option nullex type check default false",
    "option delta type check default true",
    "option checkqs type check default false",
    "option hist type check default true",
};

void resize_hash(Count& e, int megabytes) {
    if (megabytes == 0) megabytes = DEFAULT_HASH_MEGABYTES;
    if (!tt_resize(e, megabytes)) std::fprintf(stderr, "hashsize %d: cannot allocate the tables; the old ones stay\n", megabytes);
}

// The low-time rule and the clock record belong to the last game's clock.
void start_new_game(Count& e, go_context_t& ctx) {
    forget_last_game(e);
    ctx.clock = timecontrol_t{};
    ctx.mirror.time_extension = true;
    refresh_switches(ctx.mirror, e);
}

// Takes effect at once; surrounding blanks (and a CR) are not part of the path.
void set_book_files(const char* text) {
    std::string path = text;
    const size_t first = path.find_first_not_of(" \t\r\n");
    const size_t last = path.find_last_not_of(" \t\r\n");
    path = first == std::string::npos ? std::string() : path.substr(first, last - first + 1);
    open_book_path(path, platform::program_directory());
}

}  // namespace

void announce_options() {
    for (const char* line : announced_options) print_line(line);
}

void apply_option(Count& e, const command_t& c, go_context_t& ctx, bookoption_t& book) {
    option_mirror_t& mirror = ctx.mirror;
    bool* target = nullptr;
    switch (c.option) {
        case OPT_USEBOOK: book.use_book = c.option_value != 0; return;
        case OPT_BOOKFILES: set_book_files(c.option_text); return;
        case OPT_HASHSIZE: resize_hash(e, c.option_value); return;
        case OPT_USEMILLISEC: ctx.milliseconds = c.option_value != 0; return;
        case OPT_PONDER: ctx.ponder = c.option_value != 0; return;
        case OPT_DEBUG: e.debug_output = c.option_value != 0; return;
        case OPT_NEWGAME: start_new_game(e, ctx); return;
        case OPT_CHECKQS: target = &mirror.checkqs; break;
        case OPT_LAZY: target = &mirror.lazy; break;
        case OPT_NULLEX: target = &mirror.nullex; break;
        case OPT_FUTI: target = &mirror.futi; break;
        case OPT_DELTA: target = &mirror.delta; break;
        case OPT_HIST: target = &mirror.hist; break;
        default: return;  // accepted without effect
    }
    *target = c.option_value != 0;
    refresh_switches(mirror, e);
}
