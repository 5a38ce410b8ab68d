// Developer commands of the executable, above every subsystem. Each returns
// the exit code.
#pragma once

// perft DEPTH [FEN]: counts legal move paths, per root move.
int perft_command(int argc, char** argv);
// bench [DEPTH]: searches a fixed set of positions; prints nodes, time and speed.
int bench_command(int argc, char** argv);
// eval [FEN]: prints the evaluation trace of a position.
int eval_command(int argc, char** argv);
// book build [--out DIR] [--max-ply N] [--min-games K] FILE...: writes the
// opening book from game records; book moves FILE...: prints each game in UCCI moves.
int book_command(int argc, char** argv);

using dev_command_fn = int (*)(int argc, char** argv);

// The developer command named by the first argument of the command line, or
// nullptr when there is none (the executable is then the UCCI engine). The
// command takes the arguments after its name.
dev_command_fn find_dev_command(int argc, char** argv);

// The FEN given as the remaining words of a command line (joined with blanks;
// none: the initial array) converted to a position string. On a refused FEN
// the reason goes to stderr under the command's name and the result is false.
bool position_from_args(const char* command, int argc, char** argv, char* position, int& side);
