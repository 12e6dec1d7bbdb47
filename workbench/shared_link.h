#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace casl {

// A program is shared as a link whose fragment (the part after '#', which a browser never sends
// to a server) carries the program compressed: a kind letter, the format's version, a dot, then
// the compressed bytes in base64url without padding ("p1.eJzz..."). An exercise's link names the
// exercise's folder where a program's link has its data, followed by a dot and the compressed
// program when it carries one ("e1.reverse", "e1.reverse.eJzz..."), so that a teacher can read
// and even type it. The page compresses and decompresses (deflate, as the browser's
// CompressionStream does it); the rest is here.

/// What a link carries. A workbench that does not know a kind's letter says so instead of
/// guessing.
enum class LinkKind {
    Program,  ///< "p": a program's text, UTF-8.
    Exercise, ///< "e": a shipped exercise by its folder's name, with or without a program.
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
    /// The exercise's folder name, in an exercise's link.
    std::u32string exercise;
    /// The compressed program; empty only in an exercise's link that carries none.
    std::string compressed;
};

/// The format's version that this workbench writes and reads.
inline constexpr int linkFormatVersion = 1;

/// The most bytes a linked program may have once decompressed: as many as a source file.
std::size_t maxLinkedProgramBytes();

/// The fragment (without '#') of a link of `kind` that carries `compressed`.
std::string linkFragment(LinkKind kind, std::string_view compressed);

/// The fragment of a link to the exercise `name` that carries the program `compressed` ("" for
/// none). Characters other than ASCII letters, digits, '-' and '_' of the name are written as
/// percent-escaped UTF-8 bytes.
std::string exerciseLinkFragment(std::u32string_view name, std::string_view compressed);

/// Whether an exercise's link carries `programText`: not when it is blank or the exercise's own
/// starting program `startText`, which whoever opens the exercise gets anyway.
bool exerciseLinkCarriesProgram(std::u32string_view programText, std::u32string_view startText);

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

/// The message of a link to the exercise `name` that this workbench does not have.
std::u32string unknownExerciseMessage(std::u32string_view name);

/// Bytes as base64url without padding, and back (nothing for text that is not base64url).
std::string base64url(std::string_view bytes);
std::optional<std::string> fromBase64url(std::string_view text);

} // namespace casl
