#include "book/text_decoder.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>

namespace {

constexpr size_t DETECT_SAMPLE_BYTES = 1 << 18;
constexpr size_t READ_PIECE_BYTES = 1 << 20;
const char REPLACEMENT[] = "\xEF\xBF\xBD";  // U+FFFD

const char* iconv_name(text_encoding enc) {
    switch (enc) {
        case text_encoding::GB18030: return "GB18030";
        case text_encoding::BIG5: return "BIG5";
        default: return "UTF-8";
    }
}

iconv_t to_utf8(text_encoding enc) { return iconv_open("UTF-8", iconv_name(enc)); }

// Appends iconv's output, but glibc's UTF-8 reader lets through code points
// past U+10FFFF (leads 0xF4 0x90 and up, 5- and 6-byte forms) as if they were
// text: such a character becomes U+FFFD, its bytes counted as unreadable.
void append_unicode(std::string& out, const char* text, size_t size, long& bad) {
    for (size_t i = 0; i < size;) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const bool beyond = lead >= 0xF5 || (lead == 0xF4 && i + 1 < size && static_cast<unsigned char>(text[i + 1]) >= 0x90);
        if (!beyond) {
            out += text[i++];
            continue;
        }
        size_t len = 1;
        while (i + len < size && (static_cast<unsigned char>(text[i + len]) & 0xC0) == 0x80) ++len;
        out += REPLACEMENT;
        bad += static_cast<long>(len);
        i += len;
    }
}

// Converts `in` and appends to `out`. Undecodable bytes become U+FFFD and are
// counted; an incomplete sequence at the end is left in `rest` unless `final`.
void convert(iconv_t cd, const std::string& in, bool final, std::string& out, std::string& rest, long& bad) {
    char* src = const_cast<char*>(in.data());
    size_t left = in.size();
    char buffer[16384];
    while (left > 0) {
        char* dst = buffer;
        size_t room = sizeof(buffer);
        const size_t r = iconv(cd, &src, &left, &dst, &room);
        append_unicode(out, buffer, static_cast<size_t>(dst - buffer), bad);
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        if (errno == EINVAL && !final) break;  // a character split by the piece boundary
        out += REPLACEMENT;                    // EILSEQ, or a cut character at the end of the file
        ++bad;
        ++src;
        --left;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    rest.assign(src, left);
}

// Characters of the move notation: the file under the right encoding is full of them.
int notation_hits(const std::string& utf8) {
    static const char* const glyphs[] = {"進", "进", "退", "平", "車", "车", "馬", "马", "炮", "兵", "卒",
                                         "帥", "帅", "將", "将", "仕", "士", "相", "象", "前", "後"};
    int hits = 0;
    for (const char* g : glyphs) {
        const size_t n = std::strlen(g);
        for (size_t at = utf8.find(g); at != std::string::npos; at = utf8.find(g, at + n)) ++hits;
    }
    return hits;
}

}  // namespace

const char* encoding_name(text_encoding enc) {
    switch (enc) {
        case text_encoding::GB18030: return "GBK/GB18030";
        case text_encoding::BIG5: return "Big5";
        default: return "UTF-8";
    }
}

text_encoding detect_encoding(const char* sample, size_t size) {
    const std::string in(sample, size);
    long best_score = 0;
    text_encoding best = text_encoding::UTF8;
    for (text_encoding enc : {text_encoding::UTF8, text_encoding::GB18030, text_encoding::BIG5}) {
        iconv_t cd = to_utf8(enc);
        if (cd == reinterpret_cast<iconv_t>(-1)) continue;
        std::string out, rest;
        long bad = 0;
        convert(cd, in, false, out, rest, bad);
        iconv_close(cd);
        if (enc == text_encoding::UTF8 && bad == 0) return enc;
        const long score = notation_hits(out) - 4 * bad;
        if (score > best_score) {
            best_score = score;
            best = enc;
        }
    }
    return best;
}

TextDecoder::~TextDecoder() {
    if (converter_ != reinterpret_cast<void*>(-1)) iconv_close(static_cast<iconv_t>(converter_));
    if (file_ != nullptr) std::fclose(file_);
}

bool TextDecoder::open(const std::string& path, std::string& error) {
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        error = std::string("cannot open: ") + std::strerror(errno);
        return false;
    }
    std::string sample(DETECT_SAMPLE_BYTES, '\0');
    sample.resize(std::fread(sample.data(), 1, sample.size(), file_));
    if (std::ferror(file_)) {
        error = "cannot read the file";
        return false;
    }
    encoding_ = detect_encoding(sample.data(), sample.size());
    converter_ = to_utf8(encoding_);
    if (converter_ == reinterpret_cast<void*>(-1)) {
        error = std::string("iconv cannot convert from ") + iconv_name(encoding_);
        return false;
    }
    pending_ = std::move(sample);
    return true;
}

bool TextDecoder::next(std::string& out) {
    out.clear();
    if (file_ == nullptr || converter_ == reinterpret_cast<void*>(-1)) return false;
    while (out.empty()) {
        if (at_end_ && pending_.empty()) return false;
        std::string in = std::move(pending_);
        if (!at_end_) {
            const size_t had = in.size();
            in.resize(had + READ_PIECE_BYTES);
            in.resize(had + std::fread(in.data() + had, 1, READ_PIECE_BYTES, file_));
            if (in.size() == had) at_end_ = true;
        }
        convert(static_cast<iconv_t>(converter_), in, at_end_, out, pending_, bad_bytes_);
        if (first_piece_ && !out.empty()) {
            first_piece_ = false;
            if (out.compare(0, 3, "\xEF\xBB\xBF") == 0) out.erase(0, 3);  // a byte-order mark
        }
        if (at_end_) pending_.clear();
    }
    return true;
}
