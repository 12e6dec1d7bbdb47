#include "grading/test_file_reader.h"

#include "grading/toml_nesting.h"
#include "grading/word_text.h"
#include "platform/file_reader.h"
#include "platform/line_ends.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <set>
#include <toml++/toml.h>

namespace casl::check {
namespace {

constexpr std::string_view caseKeys[] = {
    "name",      "inputs", "answers", "max_steps", "max_output", "points",    "hidden",
    "assembles", "errors", "setup",   "call",      "registers",  "preserves", "expect"};
constexpr std::string_view registerNames[] = {"GR0", "GR1", "GR2", "GR3",
                                              "GR4", "GR5", "GR6", "GR7"};
constexpr std::string_view expectKeys[] = {"ending", "output", "GR0", "GR1", "GR2", "GR3",
                                           "GR4",    "GR5",    "GR6", "GR7", "PR",  "SP",
                                           "OF",     "SF",     "ZF",  "data"};
constexpr std::string_view generateKeys[] = {
    "name",   "count",     "seed",       "in",      "data", "compare",   "points",
    "hidden", "max_steps", "max_output", "answers", "call", "registers", "preserves"};
constexpr std::string_view inputKeys[] = {"alphabet", "length", "min", "max", "repeat"};
constexpr std::string_view dataKeys[] = {"label", "count", "min", "max", "count_label"};
constexpr int highestLine = 300;
/// Bounds of a `[[generate]]` section, so that a test file cannot ask for unbounded work.
constexpr std::int64_t maxGeneratedCases = 100'000;
constexpr std::int64_t maxGeneratedLength = 256;
constexpr std::int64_t maxGeneratedRepeat = 1'000;
constexpr std::int64_t maxGeneratedWords = 1'000;
constexpr std::size_t maxGeneratedEntries = 100;
/// The most characters and words that the generated cases of a file may draw in all: every
/// case is kept until every program was checked.
constexpr std::int64_t maxGeneratedUnits = 20'000'000;
/// The most a case may be worth: far beyond any course's scale, and exact in a double.
constexpr double maxPoints = 1'000'000;

/// Thrown inside the reader; becomes the TestFileError.
struct ReadFailure {
    std::string message;
};

std::string typeName(const toml::node& node) {
    switch (node.type()) {
    case toml::node_type::string:
        return "a string";
    case toml::node_type::integer:
        return "an integer";
    case toml::node_type::floating_point:
        return "a floating-point number";
    case toml::node_type::boolean:
        return "a boolean";
    case toml::node_type::array:
        return "an array";
    case toml::node_type::table:
        return "a table";
    default:
        return "a date or time";
    }
}

template <std::size_t N> std::string keyList(const std::string_view (&keys)[N]) {
    std::string list;
    for (std::string_view key : keys) {
        list += list.empty() ? "" : ", ";
        list += key;
    }
    return list;
}

template <std::size_t N> bool known(const std::string_view (&keys)[N], std::string_view key) {
    return std::find(std::begin(keys), std::end(keys), key) != std::end(keys);
}

std::string endingNames() {
    std::string list;
    for (RunEnding ending : allEndings) {
        list += list.empty() ? "" : ", ";
        list += endingName(ending);
    }
    return list;
}

/// The lines a teacher wrote for the `OUT` text: LF or CR LF between lines, the last line's
/// line end optional, so that a multi-line string can end with its closing quotes on a line of
/// their own.
std::vector<std::u32string> outputLines(std::u32string_view text) {
    const std::u32string lines = platform::convertCrLf(text, platform::LineEndStyle::Lf);
    std::vector<std::u32string> result;
    std::size_t begin = 0;
    while (begin < lines.size()) {
        const std::size_t end = lines.find(U'\n', begin);
        if (end == std::u32string::npos) {
            result.emplace_back(lines.substr(begin));
            break;
        }
        result.emplace_back(lines.substr(begin, end - begin));
        begin = end + 1;
    }
    return result;
}

class Reader {
public:
    explicit Reader(std::string path) : path_(std::move(path)) {}

    TestFile read(const toml::table& root) {
        TestFile file;
        CheckCase defaults;
        for (auto&& [key, node] : root) {
            if (key.str() == "max_steps" || key.str() == "max_output") {
                bound(node, std::string(key.str()), defaults);
            } else if (key.str() == "points") {
                defaults.points = points(node);
            } else if (key.str() == "reference") {
                file.reference = text(node, "reference");
                if (file.reference->empty()) {
                    fail(node.source(), "'reference' names a program file; it is empty");
                }
            } else if (key.str() == "title" || key.str() == "statement") {
                (key.str() == "title" ? file.title : file.statement) =
                    text(node, std::string(key.str()));
            } else if (key.str() != "case" && key.str() != "generate") {
                fail(key.source(), "unknown key '" + std::string(key.str()) +
                                       "' at the top of the file; known keys: case, generate, " +
                                       "max_steps, max_output, points, reference, title, " +
                                       "statement");
            }
        }
        const toml::node* cases = root.get("case");
        const toml::node* generate = root.get("generate");
        if (cases == nullptr && generate == nullptr) {
            fail(root.source(), "no test cases: the file needs at least one [[case]] table");
        }
        std::set<std::string> names;
        for (const toml::node& element : tables(cases, "case")) {
            CheckCase c = readCase(*element.as_table(), defaults);
            if (!names.insert(c.name).second) {
                fail(element.source(), "a second case named '" + c.name + "'");
            }
            file.cases.push_back(std::move(c));
        }
        std::set<std::string> sections;
        std::int64_t drawn = 0;
        for (const toml::node& element : tables(generate, "generate")) {
            GenerateSection g = readGenerate(*element.as_table(), defaults);
            drawn += g.count * mostDrawn(g);
            if (drawn > maxGeneratedUnits) {
                fail(element.source(),
                     "the [[generate]] sections may draw more than " +
                         std::to_string(maxGeneratedUnits) +
                         " characters and words in all ('count' times the most a case draws)");
            }
            if (!sections.insert(g.name).second) {
                fail(element.source(), "a second [[generate]] section named '" + g.name + "'");
            }
            for (const CheckCase& c : file.cases) {
                if (generatedIndex(c.name, g.name) <= g.count) {
                    fail(element.source(), "the case '" + c.name + "' has the name of a case " +
                                               "that [[generate]] '" + g.name + "' makes");
                }
            }
            file.generate.push_back(std::move(g));
        }
        if (file.cases.empty() && file.generate.empty()) {
            fail((cases != nullptr ? cases : generate)->source(),
                 "no test cases: the file needs at least one [[case]] table");
        }
        return file;
    }

private:
    /// The elements of `[[key]]`; none when the file has no such key.
    const toml::array& tables(const toml::node* node, const std::string& key) const {
        static const toml::array none;
        if (node == nullptr) {
            return none;
        }
        const toml::array* list = node->as_array();
        if (list == nullptr || !list->is_array_of_tables()) {
            fail(node->source(),
                 "'" + key + "' must be an array of tables, written [[" + key + "]]");
        }
        return *list;
    }

    /// The most characters and words one case of `g` can draw (a number counting six).
    static std::int64_t mostDrawn(const GenerateSection& g) {
        std::int64_t units = 1;
        for (const GeneratedInput& in : g.inputs) {
            const std::int64_t line =
                in.kind == GeneratedInput::Kind::Number ? 6 : std::max<std::int64_t>(in.max, 1);
            units += static_cast<std::int64_t>(in.repeatMax) * line;
        }
        for (const GeneratedData& d : g.data) {
            units += d.countMax + 1;
        }
        return units;
    }

    /// k when `name` is "section#k" (k from 1, without leading zeros); otherwise a number
    /// beyond any section's count.
    static std::int64_t generatedIndex(const std::string& name, const std::string& section) {
        if (name.size() <= section.size() + 1 || !name.starts_with(section) ||
            name[section.size()] != '#') {
            return maxGeneratedCases + 1;
        }
        const std::string digits = name.substr(section.size() + 1);
        if (digits.size() > 6 || digits.front() == '0' ||
            !std::all_of(digits.begin(), digits.end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            return maxGeneratedCases + 1;
        }
        return std::stoll(digits);
    }

    std::int64_t integer(const toml::node& node, const std::string& key, std::int64_t min,
                         std::int64_t max) const {
        const auto* value = node.as_integer();
        if (value == nullptr) {
            wrongType(node, key, "an integer");
        }
        if (value->get() < min || value->get() > max) {
            fail(node.source(), "'" + key + "' must be from " + std::to_string(min) + " to " +
                                    std::to_string(max) + ", not " + std::to_string(value->get()));
        }
        return value->get();
    }

    /// `key = n` or `key = [min, max]`, each from `min` to `max`.
    std::pair<std::int32_t, std::int32_t> range(const toml::node& node, const std::string& key,
                                                std::int64_t min, std::int64_t max) const {
        if (const auto* pair = node.as_array()) {
            if (pair->size() != 2) {
                fail(node.source(), "'" + key + "' as a range is [least, most]: two integers");
            }
            const std::int64_t low = integer(*pair->get(0), key, min, max);
            const std::int64_t high = integer(*pair->get(1), key, min, max);
            if (low > high) {
                fail(node.source(), "'" + key + "' goes from " + std::to_string(low) + " down to " +
                                        std::to_string(high) + ": write the least first");
            }
            return {static_cast<std::int32_t>(low), static_cast<std::int32_t>(high)};
        }
        const auto value = static_cast<std::int32_t>(integer(node, key, min, max));
        return {value, value};
    }

    /// `min` and `max` of a table, both needed, from -32768 to 65535.
    std::pair<std::int32_t, std::int32_t> wordRange(const toml::table& table,
                                                    const std::string& place) const {
        const toml::node* low = table.get("min");
        const toml::node* high = table.get("max");
        if (low == nullptr || high == nullptr) {
            fail(table.source(), place + " needs both 'min' and 'max'");
        }
        const std::int64_t least = integer(*low, "min", -32768, 65535);
        const std::int64_t most = integer(*high, "max", -32768, 65535);
        if (least > most) {
            fail(high->source(), "'max' (" + std::to_string(most) + ") is below 'min' (" +
                                     std::to_string(least) + ")");
        }
        return {static_cast<std::int32_t>(least), static_cast<std::int32_t>(most)};
    }

    template <std::size_t N>
    const toml::table& entry(const toml::node& node, const std::string& key,
                             const std::string_view (&keys)[N]) const {
        const auto* table = node.as_table();
        if (table == nullptr) {
            wrongType(node, key, "a table");
        }
        for (auto&& [k, value] : *table) {
            if (!known(keys, k.str())) {
                fail(k.source(), "unknown key '" + std::string(k.str()) + "' in '" + key +
                                     "'; known keys: " + keyList(keys));
            }
        }
        return *table;
    }

    /// The entries of `key`: an array of tables, or one table.
    std::vector<const toml::node*> entries(const toml::node& node, const std::string& key) const {
        std::vector<const toml::node*> list;
        if (const auto* array = node.as_array()) {
            for (const toml::node& element : *array) {
                list.push_back(&element);
            }
        } else {
            list.push_back(&node);
        }
        if (list.size() > maxGeneratedEntries) {
            fail(node.source(),
                 "'" + key + "' has more than " + std::to_string(maxGeneratedEntries) + " entries");
        }
        return list;
    }

    GeneratedInput generatedInput(const toml::node& node) const {
        const toml::table& table = entry(node, "in", inputKeys);
        GeneratedInput in;
        const bool isText = table.get("alphabet") != nullptr || table.get("length") != nullptr;
        const bool number = table.get("min") != nullptr || table.get("max") != nullptr;
        if (isText == number) {
            fail(table.source(), "an 'in' entry is a line of text (alphabet and length) or a " +
                                     std::string("number (min and max), not ") +
                                     (isText ? "both" : "neither"));
        }
        if (const toml::node* repeat = table.get("repeat")) {
            std::tie(in.repeatMin, in.repeatMax) = range(*repeat, "repeat", 0, maxGeneratedRepeat);
        }
        if (number) {
            in.kind = GeneratedInput::Kind::Number;
            std::tie(in.min, in.max) = wordRange(table, "an 'in' entry of numbers");
            return in;
        }
        const toml::node* alphabet = table.get("alphabet");
        const toml::node* length = table.get("length");
        if (alphabet == nullptr || length == nullptr) {
            fail(table.source(), "an 'in' entry of text needs both 'alphabet' and 'length'");
        }
        in.alphabet = platform::fromUtf8(text(*alphabet, "alphabet"));
        std::tie(in.min, in.max) = range(*length, "length", 0, maxGeneratedLength);
        if (in.alphabet.empty() && in.max > 0) {
            fail(alphabet->source(), "'alphabet' is empty, so no line can be longer than 0");
        }
        for (char32_t c : in.alphabet) {
            if (!platform::cp932Code(c) || c < 0x20) {
                fail(alphabet->source(), "'alphabet' holds '" +
                                             platform::toUtf8(std::u32string(1, c)) +
                                             "', which an input line cannot hold");
            }
        }
        return in;
    }

    GeneratedData generatedData(const toml::node& node) const {
        const toml::table& table = entry(node, "data", dataKeys);
        GeneratedData d;
        const toml::node* label = table.get("label");
        if (label == nullptr) {
            fail(table.source(), "a 'data' entry needs the label of its words: label = \"...\"");
        }
        d.label = platform::fromUtf8(text(*label, "label"));
        if (d.label.empty()) {
            fail(label->source(), "'label' of a 'data' entry is empty");
        }
        if (const toml::node* count = table.get("count")) {
            std::tie(d.countMin, d.countMax) = range(*count, "count", 0, maxGeneratedWords);
        }
        std::tie(d.min, d.max) = wordRange(table, "a 'data' entry");
        if (const toml::node* counted = table.get("count_label")) {
            d.countLabel = platform::fromUtf8(text(*counted, "count_label"));
            if (d.countLabel->empty()) {
                fail(counted->source(), "'count_label' is empty");
            }
        }
        return d;
    }

    Observation observation(const toml::node& node) const {
        const std::string written = text(node, "compare");
        Observation o;
        o.written = written;
        if (written == "output") {
            o.kind = Observation::Kind::Output;
        } else if (written == "ending") {
            o.kind = Observation::Kind::Ending;
        } else if (written == "flags") {
            o.kind = Observation::Kind::Flags;
        } else if (written.starts_with("data:") && written.size() > 5) {
            o.kind = Observation::Kind::Data;
            o.label = platform::fromUtf8(written.substr(5));
        } else if (known(registerNames, written)) {
            o.kind = Observation::Kind::Register;
            o.reg = written[2] - '0';
        } else {
            fail(node.source(), "'compare' takes output, ending, flags, GR0 to GR7 and " +
                                    std::string("data:LABEL, not \"") + written + "\"");
        }
        return o;
    }

    GenerateSection readGenerate(const toml::table& table, const CheckCase& defaults) const {
        GenerateSection g;
        const toml::node* name = table.get("name");
        if (name == nullptr) {
            fail(table.source(), "a [[generate]] section without a name: add name = \"...\"");
        }
        g.name = text(*name, "name");
        if (g.name.empty()) {
            fail(name->source(), "a [[generate]] section needs a name that is not empty");
        }
        for (auto&& [key, node] : table) {
            const std::string k(key.str());
            if (!known(generateKeys, k)) {
                fail(key.source(), "unknown key '" + k + "' in [[generate]] '" + g.name +
                                       "'; known keys: " + keyList(generateKeys));
            }
            if (k == "count") {
                g.count = static_cast<std::int32_t>(integer(node, k, 1, maxGeneratedCases));
            } else if (k == "seed") {
                g.seed = static_cast<std::uint64_t>(integer(node, k, INT64_MIN, INT64_MAX));
            } else if (k == "in") {
                for (const toml::node* element : entries(node, k)) {
                    g.inputs.push_back(generatedInput(*element));
                }
            } else if (k == "data") {
                for (const toml::node* element : entries(node, k)) {
                    g.data.push_back(generatedData(*element));
                }
            } else if (k == "compare") {
                for (const toml::node& element : array(node, k, "an array of strings")) {
                    g.compare.push_back(observation(element));
                }
                if (g.compare.empty()) {
                    fail(node.source(), "'compare' needs at least one observation");
                }
            } else if (k == "registers") {
                g.registers = generatedRegisters(node);
            }
        }
        if (g.compare.empty()) {
            g.compare.push_back({Observation::Kind::Output, 0, {}, "output"});
        }
        // The keys every generated case shares (and the name) are read as a fixed case's are.
        g.base = readCase(table, defaults, true);
        if (!g.registers.empty() && !g.base.call) {
            fail(table.get("registers")->source(),
                 "'registers' belongs to a section that calls a subroutine: add call = " +
                     std::string("\"LABEL\" to [[generate]] '") + g.name + "'");
        }
        return g;
    }

    /// `registers = { GR1 = 5, GR2 = [0, 100] }`: fixed values or ranges at the call.
    std::vector<GeneratedRegister> generatedRegisters(const toml::node& node) const {
        const auto* table = node.as_table();
        if (table == nullptr) {
            wrongType(node, "registers", "a table of GR0 to GR7 = word or [least, most]");
        }
        std::vector<GeneratedRegister> registers;
        for (auto&& [key, value] : *table) {
            GeneratedRegister r;
            r.reg = registerNumber(value, key.str(), "registers");
            if (value.is_array()) {
                std::tie(r.min, r.max) = range(value, std::string(key.str()), -32768, 65535);
            } else {
                const ExpectedWord w = word(value, std::string(key.str()));
                r.min = r.max = static_cast<std::int16_t>(w.pattern);
            }
            registers.push_back(r);
        }
        return registers;
    }

    [[noreturn]] void fail(const toml::source_region& where, const std::string& what) const {
        throw ReadFailure{path_ + ":" + std::to_string(where.begin.line) + ":" +
                          std::to_string(where.begin.column) + ": " + what};
    }

    [[noreturn]] void wrongType(const toml::node& node, const std::string& key,
                                const std::string& wanted) const {
        fail(node.source(), "'" + key + "' must be " + wanted + ", not " + typeName(node));
    }

    std::string text(const toml::node& node, const std::string& key) const {
        const auto* value = node.as_string();
        if (value == nullptr) {
            wrongType(node, key, "a string");
        }
        return value->get();
    }

    /// `max_steps` or `max_output`.
    void bound(const toml::node& node, const std::string& key, CheckCase& c) const {
        const auto* value = node.as_integer();
        if (value == nullptr) {
            wrongType(node, key, "an integer");
        }
        if (value->get() < 0) {
            fail(node.source(), "'" + key + "' must not be negative");
        }
        if (key == "max_steps" && value->get() > maxStepsBound) {
            fail(node.source(), "'max_steps' must be at most " + std::to_string(maxStepsBound) +
                                    ", not " + std::to_string(value->get()));
        }
        (key == "max_steps" ? c.maxSteps : c.maxOutput) = value->get();
    }

    /// `points`: a number from 0 to a million, whole or not.
    double points(const toml::node& node) const {
        double value = 0;
        if (const auto* whole = node.as_integer()) {
            value = static_cast<double>(whole->get());
        } else if (const auto* number = node.as_floating_point()) {
            value = number->get();
        } else {
            wrongType(node, "points", "a number");
        }
        if (!(value >= 0 && value <= maxPoints)) {
            fail(node.source(), "'points' must be from 0 to 1000000");
        }
        return value;
    }

    ExpectedWord word(const toml::node& node, const std::string& key) const {
        if (const auto* number = node.as_integer()) {
            const std::int64_t value = number->get();
            if (value < -32768 || value > 65535) {
                fail(node.source(), "'" + key + "' is " + std::to_string(value) +
                                        ", outside a word (-32768 to 65535)");
            }
            return {static_cast<std::uint16_t>(value & 0xFFFF), std::to_string(value)};
        }
        if (const auto* written = node.as_string()) {
            if (const auto pattern = hexWord(written->get())) {
                return {*pattern, written->get()};
            }
            fail(node.source(), "'" + key + "' must be a number or \"#\" and four hexadecimal " +
                                    "digits, not \"" + written->get() + "\"");
        }
        wrongType(node, key, "a number or a string \"#hhhh\"");
    }

    int flag(const toml::node& node, const std::string& key) const {
        if (const auto* value = node.as_boolean()) {
            return value->get() ? 1 : 0;
        }
        if (const auto* value = node.as_integer();
            value != nullptr && value->get() >= 0 && value->get() <= 1) {
            return static_cast<int>(value->get());
        }
        wrongType(node, key, "0, 1, true or false");
    }

    const toml::array& array(const toml::node& node, const std::string& key,
                             const std::string& wanted) const {
        const auto* list = node.as_array();
        if (list == nullptr) {
            wrongType(node, key, wanted);
        }
        return *list;
    }

    /// A `[[case]]` table, or with `section` the keys a `[[generate]]` section shares with its
    /// cases (its own keys, read by `readGenerate`, are passed over).
    CheckCase readCase(const toml::table& table, const CheckCase& defaults,
                       bool section = false) const {
        CheckCase c;
        c.maxSteps = defaults.maxSteps;
        c.maxOutput = defaults.maxOutput;
        c.points = defaults.points;
        const toml::node* name = table.get("name");
        if (name == nullptr) {
            fail(table.source(), "a case without a name: add name = \"...\"");
        }
        c.name = text(*name, "name");
        if (c.name.empty()) {
            fail(name->source(), "a case needs a name that is not empty");
        }
        for (auto&& [key, node] : table) {
            const std::string k(key.str());
            if (section && (!known(caseKeys, k) || k == "registers")) {
                continue;
            }
            if (!known(caseKeys, k)) {
                fail(key.source(), "unknown key '" + k + "' in case '" + c.name +
                                       "'; known keys: " + keyList(caseKeys));
            }
            if (k == "inputs") {
                for (const toml::node& input : array(node, k, "an array of strings")) {
                    c.inputs.push_back(platform::fromUtf8(text(input, "inputs")));
                }
            } else if (k == "answers") {
                for (const toml::node& answer : array(node, k, "an array of \"yes\" and \"no\"")) {
                    c.answers.push_back(yesNo(answer));
                }
            } else if (k == "max_steps" || k == "max_output") {
                bound(node, k, c);
            } else if (k == "points") {
                c.points = points(node);
            } else if (k == "hidden") {
                const auto* value = node.as_boolean();
                if (value == nullptr) {
                    wrongType(node, k, "true or false");
                }
                c.hidden = value->get();
            } else if (k == "assembles") {
                const auto* value = node.as_boolean();
                if (value == nullptr) {
                    wrongType(node, k, "true or false");
                }
                c.assembles = value->get();
            } else if (k == "errors") {
                c.errors = errors(node);
            } else if (k == "setup") {
                c.setup = setup(node, c.name);
            } else if (k == "call") {
                const std::string label = text(node, k);
                if (label.empty()) {
                    fail(node.source(), "'call' names the label of a subroutine; it is empty");
                }
                subroutineCall(c).label = platform::fromUtf8(label);
            } else if (k == "registers") {
                subroutineCall(c).registers = callRegisters(node);
            } else if (k == "preserves") {
                subroutineCall(c).preserves = preserved(node);
            } else if (k == "expect") {
                c.expect = expectations(node, c.name);
            }
        }
        for (std::string_view callKey : {"registers", "preserves"}) {
            const toml::node* node = table.get(callKey);
            if (node != nullptr && table.get("call") == nullptr) {
                fail(node->source(), "'" + std::string(callKey) + "' belongs to a case that " +
                                         "calls a subroutine: add call = \"LABEL\" to case '" +
                                         c.name + "'");
            }
        }
        if (c.assembles) {
            if (const toml::node* errorTable = table.get("errors")) {
                fail(errorTable->source(),
                     "'errors' belongs to a case with assembles = false, in case '" + c.name + "'");
            }
            return c;
        }
        for (std::string_view runKey :
             {"inputs", "answers", "max_steps", "max_output", "setup", "expect", "call"}) {
            if (const toml::node* node = table.get(runKey)) {
                fail(node->source(), "case '" + c.name + "' has assembles = false and runs " +
                                         "nothing: remove '" + std::string(runKey) + "'");
            }
        }
        return c;
    }

    static SubroutineCall& subroutineCall(CheckCase& c) {
        if (!c.call) {
            c.call.emplace();
        }
        return *c.call;
    }

    int registerNumber(const toml::node& node, std::string_view name,
                       const std::string& key) const {
        const auto* found = std::find(std::begin(registerNames), std::end(registerNames), name);
        if (found == std::end(registerNames)) {
            fail(node.source(),
                 "'" + key + "' takes the registers GR0 to GR7, not '" + std::string(name) + "'");
        }
        return static_cast<int>(found - std::begin(registerNames));
    }

    /// `registers = { GR1 = 5, GR2 = "#FFFF" }`: the registers at the call.
    std::array<std::int16_t, 8> callRegisters(const toml::node& node) const {
        const auto* table = node.as_table();
        if (table == nullptr) {
            wrongType(node, "registers", "a table of GR0 to GR7 = word");
        }
        std::array<std::int16_t, 8> values{};
        for (auto&& [key, value] : *table) {
            const int r = registerNumber(value, key.str(), "registers");
            values[static_cast<std::size_t>(r)] =
                static_cast<std::int16_t>(word(value, std::string(key.str())).pattern);
        }
        return values;
    }

    /// `preserves = ["GR2", "GR3"]`: the registers the subroutine must keep.
    std::vector<int> preserved(const toml::node& node) const {
        std::vector<int> numbers;
        for (const toml::node& name : array(node, "preserves", "an array of register names")) {
            const int r = registerNumber(name, text(name, "preserves"), "preserves");
            if (std::find(numbers.begin(), numbers.end(), r) != numbers.end()) {
                fail(name.source(), "'preserves' names GR" + std::to_string(r) + " twice");
            }
            numbers.push_back(r);
        }
        return numbers;
    }

    bool yesNo(const toml::node& node) const {
        if (const auto* value = node.as_boolean()) {
            return value->get();
        }
        if (const auto* value = node.as_string()) {
            if (value->get() == "yes" || value->get() == "no") {
                return value->get() == "yes";
            }
        }
        fail(node.source(),
             "'answers' takes \"yes\" or \"no\" (or true or false), not " +
                 (node.is_string() ? "\"" + text(node, "answers") + "\"" : typeName(node)));
    }

    std::map<int, std::vector<int>> errors(const toml::node& node) const {
        const auto* table = node.as_table();
        if (table == nullptr) {
            wrongType(node, "errors", "a table of line = [error numbers]");
        }
        std::map<int, std::vector<int>> byLine;
        for (auto&& [key, numbers] : *table) {
            const std::string k(key.str());
            const bool digits =
                !k.empty() && k.size() <= 3 &&
                std::all_of(k.begin(), k.end(), [](char c) { return c >= '0' && c <= '9'; });
            const int line = digits ? std::stoi(k) : 0;
            if (line < 1 || line > highestLine) {
                fail(key.source(), "'errors' takes line numbers 1 to 300 as keys, not '" + k + "'");
            }
            std::vector<int> found;
            auto add = [&](const toml::node& n) {
                const auto* value = n.as_integer();
                if (value == nullptr || value->get() < 1 || value->get() > 9) {
                    fail(n.source(),
                         "error numbers are 1 to 9; line " + k + " has " +
                             (value == nullptr ? typeName(n) : std::to_string(value->get())));
                }
                found.push_back(static_cast<int>(value->get()));
            };
            if (const auto* list = numbers.as_array()) {
                std::for_each(list->begin(), list->end(), add);
                if (list->empty()) {
                    fail(numbers.source(), "line " + k + " needs at least one error number");
                }
            } else {
                add(numbers);
            }
            std::sort(found.begin(), found.end());
            found.erase(std::unique(found.begin(), found.end()), found.end());
            byLine[line] = std::move(found);
        }
        return byLine;
    }

    Expectations expectations(const toml::node& node, const std::string& caseName) const {
        const auto* table = node.as_table();
        if (table == nullptr) {
            wrongType(node, "expect", "a table");
        }
        Expectations e;
        for (auto&& [key, value] : *table) {
            const std::string k(key.str());
            if (!known(expectKeys, k)) {
                fail(key.source(), "unknown key '" + k + "' in 'expect' of case '" + caseName +
                                       "'; known keys: " + keyList(expectKeys));
            }
            if (k == "ending") {
                e.ending = ending(value);
            } else if (k == "output") {
                e.output = output(value);
            } else if (k.starts_with("GR")) {
                e.registers[static_cast<std::size_t>(k[2] - '0')] = word(value, k);
            } else if (k == "PR") {
                e.programRegister = word(value, k);
            } else if (k == "SP") {
                e.stackPointer = word(value, k);
            } else if (k == "OF") {
                e.overflowFlag = flag(value, k);
            } else if (k == "SF") {
                e.signFlag = flag(value, k);
            } else if (k == "ZF") {
                e.zeroFlag = flag(value, k);
            } else if (k == "data") {
                e.data = data(value, "data");
            }
        }
        return e;
    }

    /// `setup`: only `data`, whose words are written as those of `expect.data`.
    std::vector<ExpectedData> setup(const toml::node& node, const std::string& caseName) const {
        const auto* table = node.as_table();
        if (table == nullptr) {
            wrongType(node, "setup", "a table");
        }
        for (auto&& [key, value] : *table) {
            if (key.str() != "data") {
                fail(key.source(), "unknown key '" + std::string(key.str()) +
                                       "' in 'setup' of case '" + caseName + "'; known keys: data");
            }
        }
        const toml::node* words = table->get("data");
        return words == nullptr ? std::vector<ExpectedData>{} : data(*words, "setup.data");
    }

    ExpectedEnding ending(const toml::node& node) const {
        const std::string written = text(node, "ending");
        if (const auto byName = endingByName(written)) {
            return {*byName, std::nullopt, written};
        }
        const std::u32string message = platform::fromUtf8(written);
        if (const auto byMessage = endingByMessage(message)) {
            return {*byMessage, comparableMessage(message), written};
        }
        fail(node.source(), "'ending' must be one of " + endingNames() +
                                ", or the text of a message that ends a run; not \"" + written +
                                "\"");
    }

    std::vector<std::u32string> output(const toml::node& node) const {
        if (const auto* whole = node.as_string()) {
            return outputLines(platform::fromUtf8(whole->get()));
        }
        std::vector<std::u32string> lines;
        for (const toml::node& line : array(node, "output", "a string or an array of strings")) {
            lines.push_back(platform::fromUtf8(text(line, "output")));
        }
        return lines;
    }

    /// `expect.data` or `setup.data`; `place` names it in the messages.
    std::vector<ExpectedData> data(const toml::node& node, const std::string& place) const {
        const auto* table = node.as_table();
        if (table == nullptr) {
            wrongType(node, place, "a table of label = value");
        }
        std::vector<ExpectedData> words;
        for (auto&& [key, value] : *table) {
            const std::string label(key.str());
            // No data word is looked up by an empty label, as no IN or OUT operand is empty.
            if (label.empty()) {
                fail(value.source(), "'" + place + "' needs a label before each '='");
            }
            ExpectedData d;
            d.label = platform::fromUtf8(label);
            if (const auto* list = value.as_array()) {
                d.list = true;
                for (const toml::node& element : *list) {
                    d.words.push_back(word(element, place + "." + label));
                }
                if (d.words.empty()) {
                    fail(value.source(), "'" + place + "." + label + "' needs at least one value");
                }
            } else if (const auto* inner = value.as_table()) {
                const toml::node* textNode = inner->get("text");
                if (textNode == nullptr || inner->size() != 1) {
                    fail(value.source(),
                         "'" + place + "." + label + "' as a table takes exactly one key: text");
                }
                characters(d, *textNode, place + "." + label);
            } else if (const auto* written = value.as_string();
                       written != nullptr && !hexWord(written->get())) {
                characters(d, value, place + "." + label);
            } else {
                d.words.push_back(word(value, place + "." + label));
            }
            words.push_back(std::move(d));
        }
        return words;
    }

    void characters(ExpectedData& d, const toml::node& node, const std::string& key) const {
        d.kind = ExpectedData::Kind::Text;
        d.text = platform::fromUtf8(text(node, key));
        if (d.text.empty()) {
            fail(node.source(), "'" + key + "' needs at least one character");
        }
        for (char32_t c : d.text) {
            const auto code = platform::cp932Code(c);
            if (!code) {
                fail(node.source(), "'" + key + "' holds '" +
                                        platform::toUtf8(std::u32string(1, c)) +
                                        "', which has no character code (CP932)");
            }
            d.words.push_back({static_cast<std::uint16_t>(*code & 0xFFFF),
                               platform::toUtf8(std::u32string(1, c))});
        }
    }

    std::string path_;
};

} // namespace

std::variant<TestFile, TestFileError> parseTestFile(std::string_view text,
                                                    const std::string& path) {
    if (const auto deep = tooDeepNesting(text)) {
        return TestFileError{path + ":" + std::to_string(deep->line) + ":" +
                             std::to_string(deep->column) +
                             ": tables, keys and arrays nest deeper than " +
                             std::to_string(maxTomlNesting) + " levels"};
    }
    try {
        const toml::table root = toml::parse(text, path);
        return Reader(path).read(root);
    } catch (const toml::parse_error& error) {
        const auto& where = error.source().begin;
        return TestFileError{path + ":" + std::to_string(where.line) + ":" +
                             std::to_string(where.column) + ": " +
                             std::string(error.description())};
    } catch (const ReadFailure& failure) {
        return TestFileError{failure.message};
    }
}

std::variant<TestFile, TestFileError> readTestFile(const std::filesystem::path& path) {
    // A test file is bounded as a program is: a few kilobytes do for hundreds of cases.
    auto bytes = platform::readFileBytes(path, platform::maxSourceFileBytes);
    if (const auto* error = std::get_if<platform::FileError>(&bytes)) {
        return TestFileError{path.string() + ": cannot read the test file (" + error->reason + ")"};
    }
    return parseTestFile(std::get<std::string>(bytes), path.string());
}

} // namespace casl::check
