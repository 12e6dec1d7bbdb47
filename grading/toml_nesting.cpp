#include "grading/toml_nesting.h"

#include <string>
#include <vector>

namespace casl::check {
namespace {

/// One level of brackets: the file's top, an array or an inline table.
struct Level {
    /// The levels that enclose what this level holds.
    int base = 0;
    bool array = false;
    /// The dots of the key being read (or whose value is being read) at this level.
    int keyDots = 0;
    /// Past the key's '=': dots are those of numbers, not of keys.
    bool inValue = false;
};

class Scanner {
public:
    Scanner(std::string_view text, int limit) : text_(text), limit_(limit) {}

    std::optional<TextPlace> scan() {
        levels_.push_back(Level{});
        while (at_ < text_.size()) {
            const char c = text_[at_];
            Level& level = levels_.back();
            if (c == '#') {
                while (at_ < text_.size() && text_[at_] != '\n') {
                    advance();
                }
            } else if (c == '"' || c == '\'') {
                if (!skipString()) {
                    return std::nullopt;
                }
            } else if (c == '\n') {
                if (!level.array) {
                    level.keyDots = 0;
                    level.inValue = false;
                }
                advance();
            } else if (c == '[' && levels_.size() == 1 && !level.inValue) {
                if (!header()) {
                    return place_;
                }
            } else if (c == '[' || c == '{') {
                const Level inner{level.base + level.keyDots + 1, c == '[', 0, false};
                if (inner.base > limit_) {
                    return here();
                }
                levels_.push_back(inner);
                advance();
            } else if ((c == ']' || c == '}') && levels_.size() > 1) {
                levels_.pop_back();
                advance();
            } else if (c == '=' && !level.array) {
                level.inValue = true;
                advance();
            } else if (c == ',' && !level.array) {
                level.keyDots = 0;
                level.inValue = false;
                advance();
            } else if (c == '.' && !level.array && !level.inValue) {
                ++level.keyDots;
                if (level.base + level.keyDots + 1 > limit_) {
                    return here();
                }
                advance();
            } else {
                advance();
            }
        }
        return std::nullopt;
    }

private:
    TextPlace here() const { return place_; }

    void advance() {
        const auto byte = static_cast<unsigned char>(text_[at_++]);
        if (byte == '\n') {
            ++place_.line;
            place_.column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            // A UTF-8 continuation byte belongs to the character before it.
            ++place_.column;
        }
    }

    bool startsWith(std::string_view prefix) const { return text_.substr(at_).starts_with(prefix); }

    /// Skips a string of any of the four kinds; false when it does not end.
    bool skipString() {
        const char quote = text_[at_];
        const bool multiLine = startsWith(std::string(3, quote));
        for (int i = 0; i < (multiLine ? 3 : 1); ++i) {
            advance();
        }
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '\\' && quote == '"') {
                advance();
                if (at_ < text_.size()) {
                    advance();
                }
            } else if (c == quote && (!multiLine || startsWith(std::string(3, quote)))) {
                for (int i = 0; i < (multiLine ? 3 : 1); ++i) {
                    advance();
                }
                return true;
            } else if (c == '\n' && !multiLine) {
                return false;
            } else {
                advance();
            }
        }
        return false;
    }

    /// A table header, `[a.b]` or `[[a.b]]`: its keys are the levels of what follows it. False
    /// when it nests too deep (`place_` is there).
    bool header() {
        advance();
        int levels = 1;
        while (at_ < text_.size() && text_[at_] != ']' && text_[at_] != '\n') {
            const char c = text_[at_];
            if (c == '"' || c == '\'') {
                if (!skipString()) {
                    return true;
                }
                continue;
            }
            if (c == '.' && ++levels > limit_) {
                return false;
            }
            advance();
        }
        levels_.back() = Level{levels, false, 0, false};
        return true;
    }

    std::string_view text_;
    int limit_;
    std::size_t at_ = 0;
    TextPlace place_;
    std::vector<Level> levels_;
};

} // namespace

std::optional<TextPlace> tooDeepNesting(std::string_view text, int limit) {
    return Scanner(text, limit).scan();
}

} // namespace casl::check
