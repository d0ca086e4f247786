// A strict JSON syntax check (RFC 8259) for the fuzz targets that produce JSON: true when
// `text` is exactly one JSON value with optional white space around it.
#pragma once

#include <cstddef>
#include <string_view>

namespace nivra::fuzz {

class JsonCheck {
public:
    explicit JsonCheck(std::string_view text) : s_(text) {}

    bool valid() {
        skipSpace();
        if (!value(0)) return false;
        skipSpace();
        return at_ == s_.size();
    }

private:
    static constexpr int kMaxDepth = 64;

    bool value(int depth) {
        if (depth > kMaxDepth || at_ >= s_.size()) return false;
        switch (s_[at_]) {
        case '{': return object(depth);
        case '[': return array(depth);
        case '"': return string();
        case 't': return word("true");
        case 'f': return word("false");
        case 'n': return word("null");
        default: return number();
        }
    }
    bool object(int depth) {
        ++at_;
        skipSpace();
        if (take('}')) return true;
        for (;;) {
            skipSpace();
            if (at_ >= s_.size() || s_[at_] != '"' || !string()) return false;
            skipSpace();
            if (!take(':')) return false;
            skipSpace();
            if (!value(depth + 1)) return false;
            skipSpace();
            if (take('}')) return true;
            if (!take(',')) return false;
        }
    }
    bool array(int depth) {
        ++at_;
        skipSpace();
        if (take(']')) return true;
        for (;;) {
            skipSpace();
            if (!value(depth + 1)) return false;
            skipSpace();
            if (take(']')) return true;
            if (!take(',')) return false;
        }
    }
    bool string() {
        ++at_;  // the opening quote
        while (at_ < s_.size()) {
            const auto c = static_cast<unsigned char>(s_[at_++]);
            if (c == '"') return true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (at_ >= s_.size()) return false;
                const char e = s_[at_++];
                if (e == 'u') {
                    for (int k = 0; k < 4; ++k)
                        if (at_ >= s_.size() || !isHex(s_[at_++])) return false;
                } else if (std::string_view("\"\\/bfnrt").find(e) == std::string_view::npos) {
                    return false;
                }
            } else if (c >= 0x80 && !utf8Tail(c)) {
                return false;
            }
        }
        return false;
    }
    // The continuation bytes of a UTF-8 sequence whose first byte was `lead`.
    bool utf8Tail(unsigned char lead) {
        const int more = lead >= 0xF0 && lead <= 0xF4 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC2 && lead < 0xE0 ? 1 : -1;
        if (more < 0) return false;
        for (int k = 0; k < more; ++k) {
            if (at_ >= s_.size() || (static_cast<unsigned char>(s_[at_]) & 0xC0) != 0x80) return false;
            ++at_;
        }
        return true;
    }
    bool number() {
        const std::size_t start = at_;
        take('-');
        if (take('0')) {
        } else if (!digits()) {
            return false;
        }
        if (take('.') && !digits()) return false;
        if (at_ < s_.size() && (s_[at_] == 'e' || s_[at_] == 'E')) {
            ++at_;
            if (!take('+')) take('-');
            if (!digits()) return false;
        }
        return at_ > start;
    }
    bool digits() {
        const std::size_t start = at_;
        while (at_ < s_.size() && s_[at_] >= '0' && s_[at_] <= '9') ++at_;
        return at_ > start;
    }
    bool word(std::string_view w) {
        if (s_.substr(at_, w.size()) != w) return false;
        at_ += w.size();
        return true;
    }
    bool take(char c) {
        if (at_ < s_.size() && s_[at_] == c) {
            ++at_;
            return true;
        }
        return false;
    }
    void skipSpace() {
        while (at_ < s_.size() && (s_[at_] == ' ' || s_[at_] == '\t' || s_[at_] == '\n' || s_[at_] == '\r')) ++at_;
    }
    static bool isHex(char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
    }

    std::string_view s_;
    std::size_t at_ = 0;
};

}  // namespace nivra::fuzz
