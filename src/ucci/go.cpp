#include "ucci/go.h"

// Searching is not built yet: a go gets no answer.
void handle_go(Count&, const command_t&, go_context_t&) {}
