#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace casl {

// A program is shared as a link whose fragment (the part after '#', which a browser never sends
// to a server) carries the program compressed: a kind letter, the format's version, a dot, then
// the compressed bytes in base64url without padding ("p1.eJzz..."). The page compresses and
// decompresses (deflate, as the browser's CompressionStream does it); the rest is here.

/// What a link carries. Another kind (an exercise) gets a letter of its own; a workbench that
/// does not know a letter says so instead of guessing.
enum class LinkKind {
    Program, ///< "p": a program's text, UTF-8.
};

/// Why a link gives no program.
enum class LinkProblem {
    Foreign,     ///< The fragment is no link of the workbench (another page's anchor).
    Unsupported, ///< A kind or version of link that a later workbench made.
    Broken,      ///< Cut short or changed: its data do not decode to a program's text.
    TooLarge,    ///< Its program is larger than a source file may be, or has an overlong line.
};

/// A fragment as `readLinkFragment` found it: its kind and the compressed bytes it carries.
struct LinkFragment {
    LinkKind kind = LinkKind::Program;
    std::string compressed;
};

/// The format's version that this workbench writes and reads.
inline constexpr int linkFormatVersion = 1;

/// The most bytes a linked program may have once decompressed: as many as a source file.
std::size_t maxLinkedProgramBytes();

/// The fragment (without '#') of a link of `kind` that carries `compressed`.
std::string linkFragment(LinkKind kind, std::string_view compressed);

/// Reads a fragment (with or without its '#'): its kind and compressed bytes, or why it is no
/// link that this workbench opens.
std::variant<LinkFragment, LinkProblem> readLinkFragment(std::string_view fragment);

/// The program text (CR LF between lines) that a link's decompressed bytes hold, or why they
/// hold none: they must be UTF-8 text within the limits of a source file.
std::variant<std::u32string, LinkProblem> linkedProgramText(std::string_view bytes);

namespace texts {
/// The title of the message of a link that gives no program.
inline constexpr std::u32string_view linkMessageTitle = U"リンクを開く";
} // namespace texts

/// The message a link with `problem` shows.
std::u32string linkProblemMessage(LinkProblem problem);

/// Bytes as base64url without padding, and back (nothing for text that is not base64url).
std::string base64url(std::string_view bytes);
std::optional<std::string> fromBase64url(std::string_view text);

} // namespace casl
