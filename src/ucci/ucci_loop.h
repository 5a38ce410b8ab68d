// Process entry for the UCCI protocol: start-up, handshake, command loop, shutdown.
#pragma once

// Runs the engine on standard input and output; returns the process exit code.
int run_ucci();
