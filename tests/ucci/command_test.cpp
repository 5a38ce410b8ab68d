#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "ucci/command.h"

namespace {

struct ParsedLine {
    const char* line;
    int code;
};

TEST(ParseCommand, RecognisesCommandsByExactLineOrPrefix) {
    const ParsedLine cases[] = {
        {"isready", CMD_ISREADY},
        {"isready ", CMD_NONE},
        {"Isready", CMD_NONE},
        {"stop", CMD_STOP},
        {"stop ", CMD_NONE},
        {"Stop", CMD_NONE},
        {"quit", CMD_QUIT},
        {"quit now", CMD_NONE},
        {"ucci", CMD_NONE},
        {"go", CMD_NONE},
        {"go ", CMD_GO},
        {"go depth 3", CMD_GO},
        {"setoption", CMD_NONE},
        {"setoption ", CMD_SETOPTION},
        {"setoption whatever", CMD_SETOPTION},
        {"position startpos", CMD_POSITION},
        {"position", CMD_NONE},
        {"position nonsense", CMD_NONE},
        {"position startposition", CMD_NONE},
        {"position startposXYZ", CMD_NONE},
        {"position startpos junk moves h2e2", CMD_NONE},
        {"position endgamepos moved", CMD_NONE},
        {"position fen", CMD_NONE},
        {"banmoves h2e2", CMD_BANMOVES},
        {"banmoves", CMD_NONE},
        {"ponderhit", CMD_PONDERHIT},
        {"ponderhit draw", CMD_PONDERHIT},
        {"ponderhit now", CMD_NONE},
        {"", CMD_NONE},
        {"  isready", CMD_NONE},
    };
    for (const auto& c : cases) {
        command_t cmd{};
        EXPECT_EQ(parse_command(c.line, cmd), c.code) << '"' << c.line << '"';
    }
}

struct OptionCase {
    const char* line;
    int option;
    int value;
};

TEST(ParseCommand, OptionNamesAndValueForms) {
    const OptionCase cases[] = {
        {"setoption batch on", OPT_BATCH, 1},
        {"setoption batch true", OPT_BATCH, 1},
        {"setoption batch yes", OPT_BATCH, 0},
        {"setoption batch onward", OPT_BATCH, 1},
        {"setoption debug off", OPT_DEBUG, 0},
        {"setoption debug on", OPT_DEBUG, 1},
        {"setoption usemillisec true", OPT_USEMILLISEC, 1},
        {"setoption usebook off", OPT_USEBOOK, 0},
        {"setoption usebook offside", OPT_USEBOOK, 0},
        {"setoption usebook false", OPT_USEBOOK, 0},
        {"setoption usebook maybe", OPT_USEBOOK, 1},
        {"setoption usebook ", OPT_USEBOOK, 1},
        {"setoption hashsize 64", OPT_HASHSIZE, 64},
        {"setoption hashsize 99999999999999999999", OPT_HASHSIZE, 1024},
        {"setoption hashsize -5", OPT_HASHSIZE, 0},
        {"setoption threads 64", OPT_THREADS, 32},
        {"setoption drawmoves 150", OPT_DRAWMOVES, 150},
        {"setoption drawmoves 201", OPT_DRAWMOVES, 200},
        {"setoption repetition alwaysdraw", OPT_REPETITION, 0},
        {"setoption repetition checkban", OPT_REPETITION, 1},
        {"setoption repetition asianrule", OPT_REPETITION, 2},
        {"setoption repetition chineserule", OPT_REPETITION, 3},
        {"setoption repetition whatever", OPT_REPETITION, 3},
        {"setoption pruning none", OPT_PRUNING, 0},
        {"setoption pruning small", OPT_PRUNING, 1},
        {"setoption pruning medium", OPT_PRUNING, 2},
        {"setoption pruning large", OPT_PRUNING, 3},
        {"setoption pruning bogus", OPT_PRUNING, 3},
        {"setoption knowledge smallish", OPT_KNOWLEDGE, 1},
        {"setoption selectivity large", OPT_SELECTIVITY, 3},
        {"setoption selectivity bogus", OPT_SELECTIVITY, 0},
        {"setoption style solid", OPT_STYLE, 0},
        {"setoption style risky", OPT_STYLE, 2},
        {"setoption style bogus", OPT_STYLE, 1},
        {"setoption checkqs on", OPT_CHECKQS, 1},
        {"setoption lazy off", OPT_LAZY, 0},
        {"setoption nullex on", OPT_NULLEX, 1},
        {"setoption futi false", OPT_FUTI, 0},
        {"setoption delta off", OPT_DELTA, 0},
        {"setoption hist on", OPT_HIST, 1},
        {"setoption ponder 1", OPT_PONDER, 1},
        {"setoption ponder true", OPT_PONDER, 1},
        {"setoption ponder 0", OPT_PONDER, 0},
        {"setoption ponder off", OPT_PONDER, 0},
        {"setoption newgame", OPT_NEWGAME, -77},
    };
    for (const auto& c : cases) {
        command_t cmd{};
        cmd.option_value = -77;
        ASSERT_EQ(parse_command(c.line, cmd), CMD_SETOPTION) << c.line;
        EXPECT_EQ(cmd.option, c.option) << c.line;
        EXPECT_EQ(cmd.option_value, c.value) << c.line;
    }
}

TEST(ParseCommand, OptionsWithoutValueOrUnknown) {
    command_t cmd{};
    ASSERT_EQ(parse_command("setoption loadbook", cmd), CMD_SETOPTION);
    EXPECT_EQ(cmd.option, OPT_LOADBOOK);
    ASSERT_EQ(parse_command("setoption unknown 5", cmd), CMD_SETOPTION);
    EXPECT_EQ(cmd.option, OPT_NONE);
    ASSERT_EQ(parse_command("setoption hashsize", cmd), CMD_SETOPTION);  // no blank after the name
    EXPECT_EQ(cmd.option, OPT_NONE);
    ASSERT_EQ(parse_command("setoption bookfiles a.obk;b.obk", cmd), CMD_SETOPTION);
    EXPECT_EQ(cmd.option, OPT_BOOKFILES);
    EXPECT_STREQ(cmd.option_text, "a.obk;b.obk");
    ASSERT_EQ(parse_command("setoption egtbpaths /x y", cmd), CMD_SETOPTION);
    EXPECT_EQ(cmd.option, OPT_EGTBPATHS);
    EXPECT_STREQ(cmd.option_text, "/x y");
}

struct PositionCase {
    const char* line;
    const char* fen;
    int move_count;
};

TEST(ParseCommand, PositionKeywordsAndMoveLists) {
    const PositionCase cases[] = {
        {"position startpos", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 0},
        {"position startpos moves h2e2 h9g7", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 2},
        {"position midgamepos", "2bakab1r/6r2/1cn4c1/p1p1p3p/9/2P3p2/PC2P1n1P/2N1B1NC1/R4R3/3AKAB2 w - - 0 1", 0},
        {"position checkmatepos", "4kar2/4a2rn/4bc3/RN1c5/2bC5/9/4p4/9/4p4/3p1K3 w - - 0 1", 0},
        {"position zugzwangpos", "3k5/4PP3/4r4/3P5/9/9/9/9/9/5K3 w - - 0 1", 0},
        {"position endgamepos moves e3e4", "4k4/4a4/4P4/9/9/9/9/4B4/9/4K4 w - - 0 1", 1},
        {"position fen 4k4/9/9/9/9/9/9/9/9/4K4 b - - 0 1", "4k4/9/9/9/9/9/9/9/9/4K4 b - - 0 1", 0},
        {"position fen 4k4/9/9/9/9/9/9/9/9/4K4 moves e0e1", "4k4/9/9/9/9/9/9/9/9/4K4", 1},
        {"position startpos moves ", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 0},
        {"position fen rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR moves", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR", 0},
        {"position startpos  moves  h2e2   h9g7 ", "rnbakabnr/9/1c5c1/p1p1p1p1p/9/9/P1P1P1P1P/1C5C1/9/RNBAKABNR w - - 0 1", 2},
    };
    for (const auto& c : cases) {
        command_t cmd{};
        ASSERT_EQ(parse_command(c.line, cmd), CMD_POSITION) << c.line;
        EXPECT_STREQ(cmd.fen, c.fen) << c.line;
        EXPECT_EQ(cmd.move_count, c.move_count) << c.line;
    }
}

// The words of a move list, as the replay reads them.
std::vector<std::string> words_of(const command_t& cmd) {
    std::vector<std::string> words;
    const char* cursor = cmd.moves != nullptr ? cmd.moves : "";
    const char* word;
    size_t length;
    while (next_word(cursor, word, length)) words.emplace_back(word, length);
    return words;
}

TEST(ParseCommand, MoveListsAreWordsWhateverTheyHold) {
    struct Case {
        const char* line;
        int code;
        std::vector<std::string> words;
    } cases[] = {
        {"position startpos moves h2e2 h9g7 h0g2", CMD_POSITION, {"h2e2", "h9g7", "h0g2"}},
        {"position startpos moves h2e2Xh9g7", CMD_POSITION, {"h2e2Xh9g7"}},
        {"position startpos moves h2e2junk b0c2", CMD_POSITION, {"h2e2junk", "b0c2"}},
        {"position fen 4k4/9/9/9/9/9/9/9/9/3K5 w moves", CMD_POSITION, {}},
        {"banmoves a0a1 b0c2", CMD_BANMOVES, {"a0a1", "b0c2"}},
    };
    for (const auto& c : cases) {
        command_t cmd{};
        ASSERT_EQ(parse_command(c.line, cmd), c.code) << c.line;
        EXPECT_EQ(words_of(cmd), c.words) << c.line;
        EXPECT_EQ(cmd.move_count, static_cast<int>(c.words.size())) << c.line;
    }

    // A list far longer than any fixed table is kept whole.
    std::string line = "banmoves";
    for (int i = 0; i < 5000; ++i) line += " a0a1";
    command_t cmd{};
    ASSERT_EQ(parse_command(line.c_str(), cmd), CMD_BANMOVES);
    EXPECT_EQ(cmd.move_count, 5000);
}

TEST(ParseCommand, OverlongFieldsAreRefusedNotCut) {
    command_t cmd{};
    const std::string long_value(2000, 'a');
    ASSERT_EQ(parse_command(("setoption bookfiles " + long_value).c_str(), cmd), CMD_SETOPTION);
    EXPECT_EQ(cmd.option, OPT_NONE);
    EXPECT_EQ(parse_command(("position fen 4k4/9/9/9/9/9/9/9/9/3K5 w " + long_value).c_str(), cmd), CMD_NONE);
}

struct GoCase {
    const char* line;
    int mode;
    bool ponder;
    int limit;
    int extra;  // -1: not checked
};

TEST(ParseCommand, GoForms) {
    const GoCase cases[] = {
        {"go depth 5", GO_DEPTH, false, 5, -1},
        {"go depth 99", GO_DEPTH, false, 31, -1},
        {"go depth ", GO_DEPTH, false, 0, -1},
        {"go depth", GO_DEPTH, false, 31, -1},
        {"go infinite", GO_INFINITE, false, 0, -1},
        {"go depth infinite", GO_INFINITE, false, 0, -1},
        {"go ponder infinite", GO_INFINITE, true, 0, -1},
        {"go infinitely", GO_DEPTH, false, 31, -1},
        {"go movetime 1500", GO_MOVE_TIME, false, 0, 1500},
        {"go movetime 99999999999", GO_MOVE_TIME, false, 0, 100000000},
        {"go time -5 increment 0", GO_INCREMENT, false, 0, 0},  // a negative time reads as 0
        {"go ", GO_DEPTH, false, 31, -1},
        {"go nodes 123456", GO_NODES, false, 123456, -1},
        {"go nodes 99999999999", GO_NODES, false, 1000000000, -1},
        {"go time 300", GO_MOVES_TO_GO, false, 300, 1},
        {"go time 300 movestogo 40", GO_MOVES_TO_GO, false, 300, 40},
        {"go time 300 movestogo 0", GO_MOVES_TO_GO, false, 300, 1},
        {"go time 300 movestogo 9999999", GO_MOVES_TO_GO, false, 300, 100000},
        {"go time 300 increment 5", GO_INCREMENT, false, 300, 5},
        {"go time 300 increment 9999999", GO_INCREMENT, false, 300, 600000},
        {"go time 999999999999", GO_MOVES_TO_GO, false, 100000000, 1},
        {"go ponder time 60 increment 2", GO_INCREMENT, true, 60, 2},
        {"go ponder depth 7", GO_DEPTH, true, 7, -1},
        // Clients put the opponent's clock between the fields.
        {"go time 300 opptime 300 movestogo 40", GO_MOVES_TO_GO, false, 300, 40},
        {"go time 10 opptime 10 oppincrement 0 increment 0", GO_INCREMENT, false, 10, 0},
        {"go time 10 opptime 12 oppincrement 3 increment 2", GO_INCREMENT, false, 10, 2},
        {"go time 10 oppmovestogo 7 opptime 3", GO_MOVES_TO_GO, false, 10, 1},
        {"go time 10 oppincrement 4", GO_MOVES_TO_GO, false, 10, 1},
        // A fixed time per move, as an adapter sends it.
        {"go time 0 opptime 0 movetime 4", GO_MOVE_TIME, false, 0, 4},
        {"go time 30 movetime 2 increment 1", GO_MOVE_TIME, false, 30, 2},
        // A draw offer stands where ponder may.
        {"go draw time 20 increment 1", GO_INCREMENT, false, 20, 1},
        {"go ponder draw time 20 movestogo 3", GO_MOVES_TO_GO, true, 20, 3},
        {"go draw depth 4", GO_DEPTH, false, 4, -1},
    };
    for (const auto& c : cases) {
        command_t cmd{};
        cmd.go_extra = -1;
        ASSERT_EQ(parse_command(c.line, cmd), CMD_GO) << c.line;
        EXPECT_EQ(cmd.go_mode, c.mode) << c.line;
        EXPECT_EQ(cmd.ponder, c.ponder) << c.line;
        EXPECT_EQ(cmd.go_limit, c.limit) << c.line;
        if (c.extra >= 0) {
            EXPECT_EQ(cmd.go_extra, c.extra) << c.line;
        }
    }
}

struct NumberCase {
    const char* text;
    int max;
    int value;
    int stop_offset;
};

TEST(ParseNumber, ClampsAfterEveryDigitAndStopsAtNonDigits) {
    const NumberCase cases[] = {
        {"123 rest", 1000, 123, 3},
        {"", 10, 0, 0},
        {"-5", 10, 0, 0},
        {"abc", 10, 0, 0},
        {"31", 31, 31, 2},
        {"32", 31, 31, 2},
        {"99999999999999999999999", 1000000000, 1000000000, 23},
        {"007x", 100, 7, 3},
    };
    for (const auto& c : cases) {
        const char* cursor = c.text;
        EXPECT_EQ(parse_number(cursor, c.max), c.value) << c.text;
        EXPECT_EQ(cursor - c.text, c.stop_offset) << c.text;
    }
}

}  // namespace
