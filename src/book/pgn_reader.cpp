#include "book/pgn_reader.h"

#include <cctype>

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v'; }

// "12." and "12..." are move numbers; "12.h2e2" carries its move after the number.
std::string without_move_number(const std::string& t) {
    size_t i = 0;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) ++i;
    if (i == 0 || i == t.size() || t[i] != '.') return t;
    while (i < t.size() && t[i] == '.') ++i;
    return t.substr(i);
}

// Move suffixes that judge a move ("!", "?!") say nothing about it.
void strip_judgement(std::string& t) {
    while (!t.empty() && (t.back() == '!' || t.back() == '?')) t.pop_back();
}

const char IDEOGRAPHIC_SPACE[] = "\xE3\x80\x80";

}  // namespace

const std::string* pgn_game_t::tag(const std::string& name) const {
    for (const auto& [n, v] : tags)
        if (n == name) return &v;
    return nullptr;
}

game_result parse_result(const std::string& t) {
    if (t == "1-0") return RESULT_RED_WIN;
    if (t == "0-1") return RESULT_BLACK_WIN;
    if (t == "1/2-1/2" || t == "\xC2\xBD-\xC2\xBD") return RESULT_DRAW;
    return RESULT_NONE;
}

const char* result_text(game_result r) {
    switch (r) {
        case RESULT_RED_WIN: return "1-0";
        case RESULT_BLACK_WIN: return "0-1";
        case RESULT_DRAW: return "1/2-1/2";
        default: return "*";
    }
}

void PgnReader::emit() {
    if (has_content()) {
        if (game_.result == RESULT_NONE) game_.result = movetext_result_;
        handler_(game_);
    }
    game_ = pgn_game_t{};
    game_.first_line = line_;
    ended_ = in_movetext_ = false;
    movetext_result_ = RESULT_NONE;
}

void PgnReader::end_token() {
    if (token_.empty()) return;
    std::string t = std::move(token_);
    token_.clear();
    const bool cut = token_cut_;
    token_cut_ = false;
    if (!cut) {
        const game_result r = parse_result(t);
        if (r != RESULT_NONE || t == "*") {
            if (ended_) emit();
            ended_ = true;
            movetext_result_ = r;
            return;
        }
        if (t[0] == '$') return;  // a numeric annotation glyph
        t = without_move_number(t);
        strip_judgement(t);
        if (t.empty()) return;
    }
    // After the result, a move starts the next game even without tags.
    if (ended_) emit();
    if (!in_movetext_ && game_.moves.empty() && game_.tags.empty()) game_.first_line = line_;
    in_movetext_ = true;
    game_.moves.push_back(cut ? t + "..." : t);
}

void PgnReader::start_tag() {
    end_token();
    if (in_movetext_ || ended_) emit();
    if (game_.tags.empty()) game_.first_line = line_;
    tag_.clear();
    state_ = TAG;
}

void PgnReader::end_tag() {
    state_ = NORMAL;
    // [Name "value"]: the name runs to the first blank, the value between the quotes.
    size_t i = 0;
    while (i < tag_.size() && is_blank(tag_[i])) ++i;
    const size_t name_start = i;
    while (i < tag_.size() && !is_blank(tag_[i]) && tag_[i] != '"') ++i;
    std::string name = tag_.substr(name_start, i - name_start);
    const size_t open = tag_.find('"', i);
    std::string value;
    if (open != std::string::npos) {
        for (size_t k = open + 1; k < tag_.size() && tag_[k] != '"'; ++k) {
            if (tag_[k] == '\\' && k + 1 < tag_.size()) ++k;
            value += tag_[k];
        }
    }
    if (!name.empty()) {
        if (name == "Result") game_.result = parse_result(value);
        game_.tags.emplace_back(std::move(name), std::move(value));
    }
}

void PgnReader::feed(const std::string& text) {
    for (const char c : text) {
        const bool line_start = at_line_start_;
        at_line_start_ = c == '\n';
        if (c == '\n') ++line_;
        switch (state_) {
            case TAG:
            case TAG_QUOTE:
            case TAG_ESCAPE:
                if (state_ == TAG && c == ']') {
                    end_tag();
                    continue;
                }
                if (state_ == TAG_ESCAPE) state_ = TAG_QUOTE;
                else if (c == '"') state_ = state_ == TAG ? TAG_QUOTE : TAG;
                else if (c == '\\' && state_ == TAG_QUOTE) state_ = TAG_ESCAPE;
                // A tag pair never spans lines; an unclosed one ends with its line.
                if (c == '\n') {
                    end_tag();
                    continue;
                }
                if (tag_.size() < MAX_TAG_BYTES) tag_ += c;
                continue;
            case BRACE_COMMENT:
                if (c == '}') state_ = NORMAL;
                continue;
            case LINE_COMMENT:
                if (c == '\n') state_ = NORMAL;
                continue;
            case VARIATION:
                if (c == '(') ++variation_depth_;
                else if (c == ')' && --variation_depth_ == 0) state_ = NORMAL;
                continue;
            case NORMAL: break;
        }
        if (is_blank(c)) {
            end_token();
            continue;
        }
        switch (c) {
            case '[': start_tag(); continue;
            case '{': end_token(); state_ = BRACE_COMMENT; continue;
            case '(': end_token(); state_ = VARIATION; variation_depth_ = 1; continue;
            case ';': end_token(); state_ = LINE_COMMENT; continue;
            case '%':
                if (line_start) {
                    state_ = LINE_COMMENT;
                    continue;
                }
                break;
            default: break;
        }
        if (token_.size() < MAX_MOVE_TOKEN_BYTES) {
            token_ += c;
            if (token_.size() >= 3 && token_.compare(token_.size() - 3, 3, IDEOGRAPHIC_SPACE) == 0) {
                token_.resize(token_.size() - 3);
                end_token();
            }
        } else {
            token_cut_ = true;
        }
    }
}

void PgnReader::finish() {
    if (state_ == NORMAL) end_token();
    if (state_ == TAG || state_ == TAG_QUOTE || state_ == TAG_ESCAPE) end_tag();
    state_ = NORMAL;
    emit();
}
