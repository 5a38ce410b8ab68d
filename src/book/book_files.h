// The opening-book file pair "sg.hash" / "sg.data" in the working directory.
#pragma once

// Opens (creating when missing) both files; returns 1.
int open_book_files();
void close_book_files();
