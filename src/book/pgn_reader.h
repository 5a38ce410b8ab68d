// Splits PGN text (UTF-8) into games: the tag pairs and the move tokens, with
// comments, variations, move numbers, annotation glyphs and results removed.
// Works on text fed in pieces of any size and keeps only one game in memory.
#pragma once
#include <functional>
#include <string>
#include <vector>

constexpr size_t MAX_MOVE_TOKEN_BYTES = 64;   // longer tokens are cut (and never read as a move)
constexpr size_t MAX_TAG_BYTES = 4096;        // a longer tag pair is cut

enum game_result { RESULT_NONE, RESULT_RED_WIN, RESULT_DRAW, RESULT_BLACK_WIN };

struct pgn_game_t {
    long first_line = 0;  // line of the file where the game starts
    std::vector<std::pair<std::string, std::string>> tags;
    std::vector<std::string> moves;
    game_result result = RESULT_NONE;  // the Result tag, else the result token of the movetext
    const std::string* tag(const std::string& name) const;
};

game_result parse_result(const std::string& text);
const char* result_text(game_result r);  // "1-0", "0-1", "1/2-1/2" or "*"

class PgnReader {
public:
    using GameHandler = std::function<void(const pgn_game_t&)>;
    explicit PgnReader(GameHandler handler) : handler_(std::move(handler)) {}

    void feed(const std::string& text);
    // Ends the text: the last game is handed over.
    void finish();

private:
    enum state_t { NORMAL, TAG, TAG_QUOTE, TAG_ESCAPE, BRACE_COMMENT, LINE_COMMENT, VARIATION };

    void end_token();
    void start_tag();
    void end_tag();
    void emit();
    bool has_content() const { return !game_.tags.empty() || !game_.moves.empty() || ended_; }

    GameHandler handler_;
    pgn_game_t game_;
    state_t state_ = NORMAL;
    int variation_depth_ = 0;
    std::string token_, tag_;
    bool token_cut_ = false;
    bool ended_ = false;        // the movetext's result was read
    bool in_movetext_ = false;  // a move token came since the tags
    game_result movetext_result_ = RESULT_NONE;
    bool at_line_start_ = true;
    long line_ = 1;
};
