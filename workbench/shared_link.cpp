#include "workbench/shared_link.h"

#include "platform/line_ends.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"
#include "workbench/editor_text.h"

#include <array>
#include <cstdint>

namespace casl {

namespace {

constexpr std::string_view alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";

constexpr char kindLetter(LinkKind kind) {
    switch (kind) {
    case LinkKind::Exercise:
        return 'e';
    case LinkKind::Program:
        break;
    }
    return 'p';
}

constexpr bool isLowerLetter(char c) {
    return c >= 'a' && c <= 'z';
}

constexpr bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

/// The characters an exercise's name keeps as they are in a link: they need no escape anywhere
/// in an address and are never the dot that ends the name.
constexpr bool isPlainNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || isLowerLetter(c) || isDigit(c) || c == '-' || c == '_';
}

constexpr int hexValue(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

/// Whether `name` can be an exercise's folder: a link never leads out of the exercises.
bool isFolderName(std::u32string_view name) {
    if (name.empty() || name.size() > 255 || name == U"." || name == U"..") {
        return false;
    }
    for (const char32_t c : name) {
        if (c < 0x20 || c == 0x7F || c == U'/' || c == U'\\') {
            return false;
        }
    }
    return true;
}

std::string escapedName(std::u32string_view name) {
    static constexpr std::string_view hex = "0123456789ABCDEF";
    std::string text;
    for (const char c : platform::toUtf8(name)) {
        if (isPlainNameCharacter(c)) {
            text.push_back(c);
        } else {
            const auto byte = static_cast<unsigned char>(c);
            text.push_back('%');
            text.push_back(hex[byte >> 4]);
            text.push_back(hex[byte & 15]);
        }
    }
    return text;
}

std::optional<std::u32string> unescapedName(std::string_view text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            if (i + 2 >= text.size()) {
                return std::nullopt;
            }
            const int high = hexValue(text[i + 1]);
            const int low = hexValue(text[i + 2]);
            if (high < 0 || low < 0) {
                return std::nullopt;
            }
            bytes.push_back(static_cast<char>(high << 4 | low));
            i += 2;
        } else if (isPlainNameCharacter(text[i])) {
            bytes.push_back(text[i]);
        } else {
            return std::nullopt;
        }
    }
    platform::DecodedText decoded = platform::decodeUtf8(bytes);
    if (decoded.badByte || !isFolderName(decoded.text)) {
        return std::nullopt;
    }
    return std::move(decoded.text);
}

/// The value of each base64url character, -1 for the others.
constexpr std::array<int, 256> alphabetValues() {
    std::array<int, 256> values{};
    values.fill(-1);
    for (std::size_t i = 0; i < alphabet.size(); ++i) {
        values[static_cast<unsigned char>(alphabet[i])] = static_cast<int>(i);
    }
    return values;
}

} // namespace

std::size_t maxLinkedProgramBytes() {
    return platform::maxSourceFileBytes;
}

std::string base64url(std::string_view bytes) {
    std::string text;
    text.reserve((bytes.size() * 4 + 2) / 3);
    std::size_t i = 0;
    const auto byte = [&bytes](std::size_t at) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at]));
    };
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = byte(i) << 16 | byte(i + 1) << 8 | byte(i + 2);
        for (int shift = 18; shift >= 0; shift -= 6) {
            text.push_back(alphabet[(group >> shift) & 63]);
        }
    }
    if (const std::size_t left = bytes.size() - i; left > 0) {
        const std::uint32_t group = byte(i) << 16 | (left == 2 ? byte(i + 1) << 8 : 0);
        text.push_back(alphabet[(group >> 18) & 63]);
        text.push_back(alphabet[(group >> 12) & 63]);
        if (left == 2) {
            text.push_back(alphabet[(group >> 6) & 63]);
        }
    }
    return text;
}

std::optional<std::string> fromBase64url(std::string_view text) {
    static constexpr std::array<int, 256> values = alphabetValues();
    // One character alone holds no whole byte.
    if (text.size() % 4 == 1) {
        return std::nullopt;
    }
    std::string bytes;
    bytes.reserve(text.size() * 3 / 4);
    std::uint32_t group = 0;
    int bits = 0;
    for (const char c : text) {
        const int value = values[static_cast<unsigned char>(c)];
        if (value < 0) {
            return std::nullopt;
        }
        group = (group << 6 | static_cast<std::uint32_t>(value)) & 0xFFFFFF;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            bytes.push_back(static_cast<char>((group >> bits) & 0xFF));
        }
    }
    // The bits left over belong to no byte; a text that sets them was not written as base64url.
    if ((group & ((1U << bits) - 1)) != 0) {
        return std::nullopt;
    }
    return bytes;
}

std::string linkFragment(LinkKind kind, std::string_view compressed) {
    return kindLetter(kind) + std::to_string(linkFormatVersion) + '.' + base64url(compressed);
}

std::string exerciseLinkFragment(std::u32string_view name, std::string_view compressed) {
    std::string fragment = kindLetter(LinkKind::Exercise) + std::to_string(linkFormatVersion) +
                           '.' + escapedName(name);
    if (!compressed.empty()) {
        fragment += '.' + base64url(compressed);
    }
    return fragment;
}

bool exerciseLinkCarriesProgram(std::u32string_view programText, std::u32string_view startText) {
    const bool blank = programText.find_first_not_of(U" \t\r\n\u3000") == std::u32string_view::npos;
    return !blank && programText != startText;
}

std::variant<LinkFragment, LinkProblem> readLinkFragment(std::string_view fragment) {
    if (fragment.starts_with('#')) {
        fragment.remove_prefix(1);
    }
    // A letter, the version's digits, a dot: the rest is the data.
    const std::size_t dot = fragment.find('.');
    if (fragment.empty() || !isLowerLetter(fragment.front()) || dot == std::string_view::npos ||
        dot < 2 || dot > 6) {
        return LinkProblem::Foreign;
    }
    const std::string_view version = fragment.substr(1, dot - 1);
    for (const char c : version) {
        if (!isDigit(c)) {
            return LinkProblem::Foreign;
        }
    }
    const char letter = fragment.front();
    if ((letter != kindLetter(LinkKind::Program) && letter != kindLetter(LinkKind::Exercise)) ||
        version != std::to_string(linkFormatVersion)) {
        return LinkProblem::Unsupported;
    }
    LinkFragment link;
    std::string_view data = fragment.substr(dot + 1);
    if (letter == kindLetter(LinkKind::Exercise)) {
        link.kind = LinkKind::Exercise;
        const std::size_t nameEnd = data.find('.');
        auto name = unescapedName(data.substr(0, nameEnd));
        if (!name) {
            return LinkProblem::Broken;
        }
        link.exercise = std::move(*name);
        if (nameEnd == std::string_view::npos) {
            return link;
        }
        data.remove_prefix(nameEnd + 1);
    }
    auto compressed = fromBase64url(data);
    if (!compressed || compressed->empty()) {
        return LinkProblem::Broken;
    }
    link.compressed = std::move(*compressed);
    return link;
}

std::variant<std::u32string, LinkProblem> linkedProgramText(std::string_view bytes) {
    if (bytes.size() > maxLinkedProgramBytes()) {
        return LinkProblem::TooLarge;
    }
    platform::DecodedText decoded = platform::decodeUtf8(bytes);
    if (decoded.badByte) {
        return LinkProblem::Broken;
    }
    std::u32string text = editorTextOf(decoded.text);
    if (platform::firstLineLongerThan(text, platform::maxEditorLineLength)) {
        return LinkProblem::TooLarge;
    }
    return text;
}

std::u32string linkProblemMessage(LinkProblem problem) {
    switch (problem) {
    case LinkProblem::Unsupported:
        return U"このリンクは新しい版のワークベンチで作られたため、この版では開けません。";
    case LinkProblem::Broken:
        return U"リンクが途中で切れているか書き換えられているため、プログラムを取り出せません。"
               U"\r\nリンクを最後まで正しくコピーしたか確かめてください。";
    case LinkProblem::TooLarge:
        return U"リンクのプログラムがソースファイルの大きさの上限を超えているため、開けません。";
    case LinkProblem::Foreign:
        break;
    }
    return U"このリンクにはプログラムが入っていません。\r\n"
           U"「リンクをコピー」で作ったリンクを、最後まで正しく貼り付けたか確かめてください。";
}

std::u32string unknownExerciseMessage(std::u32string_view name) {
    return U"リンクの演習「" + std::u32string(name) +
           U"」は、このワークベンチにありません。\r\n"
           U"リンクを作ったワークベンチと同じ版で開いてください。";
}

} // namespace casl
