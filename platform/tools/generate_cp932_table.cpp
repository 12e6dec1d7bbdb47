// Writes platform/cp932_table.cpp, the CP932 tables of the text codec, by asking the C library's
// iconv (glibc knows CP932) for every character and every one- and two-byte code. The build never
// runs it; the written file is kept in the repository. To write it again:
//   cmake --build build --target cp932_table
// or without CMake, from the top folder:
//   g++ -std=c++20 -O2 platform/tools/generate_cp932_table.cpp -o /tmp/generate_cp932_table
//   /tmp/generate_cp932_table platform/cp932_table.cpp

#include <array>
#include <bit>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iconv.h>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#ifdef __GLIBC__
#include <gnu/libc-version.h>
#endif

namespace {

constexpr const char* utf32Name =
    std::endian::native == std::endian::little ? "UTF-32LE" : "UTF-32BE";

class Converter {
public:
    struct Result {
        bool converted = false;
        int error = 0;
        std::size_t consumed = 0;
        std::string bytes;
    };

    Converter(const char* to, const char* from) : descriptor_(iconv_open(to, from)) {
        if (descriptor_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::system_error(errno, std::generic_category(),
                                    std::string("iconv cannot convert ") + from + " to " + to);
        }
    }
    ~Converter() { iconv_close(descriptor_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    /// All of `in` in one call, from the initial state.
    Result convert(std::string_view in) {
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        Result result;
        std::string input(in);
        char out[64];
        char* inPtr = input.data();
        char* outPtr = out;
        std::size_t inLeft = input.size();
        std::size_t outLeft = sizeof out;
        result.converted =
            iconv(descriptor_, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        result.error = result.converted ? 0 : errno;
        result.consumed = input.size() - inLeft;
        result.bytes.assign(out, outPtr);
        return result;
    }

private:
    iconv_t descriptor_;
};

std::string hex(std::uint64_t value, int digits) {
    char text[24];
    std::snprintf(text, sizeof text, "0x%0*llX", digits, static_cast<unsigned long long>(value));
    return text;
}

std::string utf32(char32_t c) {
    std::string bytes(sizeof c, '\0');
    std::memcpy(bytes.data(), &c, sizeof c);
    return bytes;
}

/// The one character of a decoded code; anything else is a table this codec cannot hold.
std::uint16_t singleCharacter(const Converter::Result& decoded, unsigned code) {
    char32_t c = 0;
    if (decoded.bytes.size() == sizeof c) {
        std::memcpy(&c, decoded.bytes.data(), sizeof c);
    }
    if (decoded.bytes.size() != sizeof c || c > 0xFFFF) {
        throw std::runtime_error("CP932 code " + hex(code, 2) +
                                 " does not decode to one character of U+0000-U+FFFF");
    }
    return static_cast<std::uint16_t>(c);
}

using CodeMap = std::map<std::uint16_t, std::uint16_t>;

CodeMap encodings() {
    Converter toCp932("CP932", utf32Name);
    CodeMap codes;
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
        const Converter::Result encoded = toCp932.convert(utf32(c));
        // glibc drops the tag characters U+E0000-U+E007F without a byte: they have no code.
        if (!encoded.converted || encoded.bytes.empty()) {
            continue;
        }
        if (c > 0xFFFF || encoded.bytes.size() > 2) {
            throw std::runtime_error("character " + hex(c, 4) +
                                     " encodes to more than this codec's tables hold");
        }
        const auto lead = static_cast<unsigned char>(encoded.bytes[0]);
        codes[static_cast<std::uint16_t>(c)] =
            encoded.bytes.size() == 1
                ? lead
                : static_cast<std::uint16_t>(lead << 8 |
                                             static_cast<unsigned char>(encoded.bytes[1]));
    }
    return codes;
}

struct Decodings {
    CodeMap characters;
    std::array<std::uint64_t, 4> leadBytes{};
};

Decodings decodings() {
    Converter fromCp932(utf32Name, "CP932");
    Decodings result;
    for (unsigned byte = 0; byte < 256; ++byte) {
        const Converter::Result decoded =
            fromCp932.convert(std::string(1, static_cast<char>(byte)));
        if (decoded.converted) {
            result.characters[static_cast<std::uint16_t>(byte)] = singleCharacter(decoded, byte);
        } else if (decoded.error == EINVAL) {
            result.leadBytes[byte / 64] |= std::uint64_t{1} << byte % 64;
        }
    }
    for (unsigned lead = 0; lead < 256; ++lead) {
        if ((result.leadBytes[lead / 64] >> lead % 64 & 1) == 0) {
            continue;
        }
        for (unsigned trail = 0; trail < 256; ++trail) {
            const std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
            const Converter::Result decoded = fromCp932.convert(pair);
            if (decoded.converted) {
                const auto code = static_cast<std::uint16_t>(lead << 8 | trail);
                result.characters[code] = singleCharacter(decoded, code);
            }
        }
    }
    return result;
}

/// `items` separated by commas, as many to a line as fit in 100 columns.
void writeList(std::ostream& out, const std::vector<std::string>& items, int indent) {
    const std::string margin(static_cast<std::size_t>(indent), ' ');
    std::size_t column = 0;
    for (const std::string& item : items) {
        if (column == 0) {
            out << margin;
            column = margin.size();
        } else if (column + 2 + item.size() + 1 > 100) {
            out << ",\n" << margin;
            column = margin.size();
        } else {
            out << ", ";
            column += 2;
        }
        out << item;
        column += item.size();
    }
    out << '\n';
}

void writeMap(std::ostream& out, const std::string& name, const std::string& prefix,
              const CodeMap& codes) {
    struct Block {
        std::array<std::uint64_t, 4> present{};
        std::array<std::size_t, 4> firstValue{};
    };
    std::vector<Block> blocks;
    std::array<unsigned, 256> blockOf;
    blockOf.fill(0xFF);
    std::vector<std::uint16_t> values;
    for (unsigned high = 0; high < 256; ++high) {
        const auto first = codes.lower_bound(static_cast<std::uint16_t>(high << 8));
        if (first == codes.end() || first->first >> 8 != high) {
            continue;
        }
        if (blocks.size() == 0xFF) {
            throw std::runtime_error(name + " needs more blocks than a byte numbers");
        }
        blockOf[high] = static_cast<unsigned>(blocks.size());
        Block& block = blocks.emplace_back();
        for (unsigned low = 0; low < 256; ++low) {
            if (low % 64 == 0) {
                block.firstValue[low / 64] = values.size();
            }
            const auto found = codes.find(static_cast<std::uint16_t>(high << 8 | low));
            if (found != codes.end()) {
                block.present[low / 64] |= std::uint64_t{1} << low % 64;
                values.push_back(found->second);
            }
        }
    }
    if (values.size() > 0xFFFF) {
        throw std::runtime_error(name + " holds more values than 16 bits number");
    }

    out << "constexpr std::array<SparseBlock, " << blocks.size() << "> " << prefix << "Blocks{{\n";
    for (const Block& block : blocks) {
        out << "    {{" << hex(block.present[0], 16) << ", " << hex(block.present[1], 16) << ", "
            << hex(block.present[2], 16) << ", " << hex(block.present[3], 16) << "},\n     {"
            << block.firstValue[0] << ", " << block.firstValue[1] << ", " << block.firstValue[2]
            << ", " << block.firstValue[3] << "}},\n";
    }
    out << "}};\n\n";
    out << "constexpr std::array<std::uint16_t, " << values.size() << "> " << prefix << "Values{\n";
    std::vector<std::string> items;
    for (const std::uint16_t value : values) {
        items.push_back(hex(value, 4));
    }
    writeList(out, items, 4);
    out << "};\n\n";
    out << "constexpr std::array<std::uint8_t, 256> " << prefix << "BlockOf{\n";
    items.clear();
    for (const unsigned block : blockOf) {
        items.push_back(hex(block, 2));
    }
    writeList(out, items, 4);
    out << "};\n\n";
}

void writeTable(std::ostream& out) {
    const CodeMap encoded = encodings();
    const Decodings decoded = decodings();
    out << "// Written by platform/tools/generate_cp932_table.cpp from the CP932 of ";
#ifdef __GLIBC__
    out << "glibc " << gnu_get_libc_version() << "'s iconv.\n";
#else
    out << "the C library's iconv.\n";
#endif
    out << "// Do not edit; write it again with: cmake --build build --target cp932_table\n"
           "// clang-format off\n"
           "#include \"platform/cp932_table.h\"\n\n"
           "namespace casl::platform {\n\n"
           "namespace {\n\n";
    writeMap(out, "the encoding", "encoding", encoded);
    writeMap(out, "the decoding", "decoding", decoded.characters);
    out << "} // namespace\n\n"
           "constexpr SparseCodeMap cp932Encoding{encodingBlockOf, encodingBlocks, "
           "encodingValues};\n"
           "constexpr SparseCodeMap cp932Decoding{decodingBlockOf, decodingBlocks, "
           "decodingValues};\n"
           "constexpr std::array<std::uint64_t, 4> cp932LeadBytes{"
        << hex(decoded.leadBytes[0], 16) << ", " << hex(decoded.leadBytes[1], 16) << ",\n"
        << "                                                     " << hex(decoded.leadBytes[2], 16)
        << ", " << hex(decoded.leadBytes[3], 16) << "};\n\n"
        << "} // namespace casl::platform\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " OUTPUT.cpp\n";
        return 2;
    }
    try {
        std::ofstream out(argv[1], std::ios::binary);
        writeTable(out);
        out.close();
        if (!out) {
            std::cerr << argv[1] << ": cannot write the table\n";
            return 1;
        }
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
