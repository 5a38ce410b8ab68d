#include "book/book_files.h"

// The opening book files are not opened yet.
int open_book_files() { return 1; }
void close_book_files() {}
