#include "platform/text_codec.h"

#include <array>
#include <bit>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <mutex>
#include <system_error>

namespace casl::platform {

namespace {

constexpr const char* utf32Name =
    std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";
constexpr const char* cp932Name = "CP932";

/// One iconv descriptor; each thread keeps its own because a descriptor carries state.
class Converter {
public:
    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {
        if (descriptor_ == invalid()) {
            throw std::system_error(errno, std::generic_category(),
                                    std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(descriptor_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    /// The descriptor, reset to its initial state.
    iconv_t fresh() {
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        return descriptor_;
    }

private:
    static iconv_t invalid() { return reinterpret_cast<iconv_t>(-1); }
    iconv_t descriptor_;
};

Converter& encoder() {
    thread_local Converter converter(cp932Name, utf32Name);
    return converter;
}

Converter& decoder() {
    thread_local Converter converter(utf32Name, cp932Name);
    return converter;
}

constexpr std::int32_t noCode = INT32_MIN;
constexpr std::size_t pageSize = 256;
constexpr std::size_t pageCount = 0x110000 / pageSize;
using CodePage = std::array<std::int32_t, pageSize>;

/// Codes are looked up once per block of 256 characters and kept for the whole run: the
/// assembler asks for one character at a time, and an iconv call per character is too slow.
struct CodeTable {
    std::array<std::once_flag, pageCount> filled;
    std::array<std::unique_ptr<CodePage>, pageCount> pages;
};

CodeTable& codeTable() {
    static CodeTable table;
    return table;
}

std::int32_t askIconv(char32_t c) {
    iconv_t descriptor = encoder().fresh();
    char in[sizeof c];
    std::memcpy(in, &c, sizeof c);
    char out[8];
    char* inPtr = in;
    char* outPtr = out;
    std::size_t inLeft = sizeof in;
    std::size_t outLeft = sizeof out;
    if (iconv(descriptor, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        inLeft != 0) {
        return noCode;
    }
    const auto length = static_cast<std::size_t>(outPtr - out);
    const auto lead = static_cast<unsigned char>(out[0]);
    if (length == 1) {
        return lead;
    }
    if (length == 2) {
        const auto trail = static_cast<unsigned char>(out[1]);
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(lead << 8 | trail));
    }
    return noCode;
}

const CodePage& codePage(std::size_t index) {
    CodeTable& table = codeTable();
    std::call_once(table.filled[index], [&] {
        auto page = std::make_unique<CodePage>();
        for (std::size_t i = 0; i < pageSize; ++i) {
            (*page)[i] = askIconv(static_cast<char32_t>(index * pageSize + i));
        }
        table.pages[index] = std::move(page);
    });
    return *table.pages[index];
}

} // namespace

std::optional<int> cp932Code(char32_t c) {
    if (c >= pageSize * pageCount) {
        return std::nullopt;
    }
    const std::int32_t code = codePage(c / pageSize)[c % pageSize];
    if (code == noCode) {
        return std::nullopt;
    }
    return code;
}

DecodedText decodeCp932(std::string_view bytes) {
    iconv_t descriptor = decoder().fresh();
    DecodedText result;
    // CP932 never makes more than one character of one byte.
    result.text.resize(bytes.size());
    char* inPtr = const_cast<char*>(bytes.data());
    auto* outPtr = reinterpret_cast<char*>(result.text.data());
    std::size_t inLeft = bytes.size();
    std::size_t outLeft = result.text.size() * sizeof(char32_t);
    const bool failed =
        iconv(descriptor, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
    result.text.resize(result.text.size() - outLeft / sizeof(char32_t));
    if (failed) {
        result.badByte = static_cast<std::size_t>(inPtr - bytes.data());
    }
    return result;
}

EncodedText encodeCp932(std::u32string_view text) {
    EncodedText result;
    result.bytes.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::optional<int> code = cp932Code(text[i]);
        if (!code) {
            result.badCharacter = i;
            return result;
        }
        if (*code >= 0) {
            result.bytes.push_back(static_cast<char>(*code));
        } else {
            const auto pair = static_cast<std::uint16_t>(*code);
            result.bytes.push_back(static_cast<char>(pair >> 8));
            result.bytes.push_back(static_cast<char>(pair & 0xFF));
        }
    }
    return result;
}

} // namespace casl::platform
