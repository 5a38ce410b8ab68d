#include "ucci/options.h"

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
