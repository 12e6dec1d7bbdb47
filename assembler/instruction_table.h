#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace casl {

/// One row of the instruction table: a mnemonic and its codes.
struct InstructionRow {
    std::u32string_view mnemonic;
    /// Operation code of the address form (or the only form), or a pseudo code 300–503.
    std::int16_t firstCode;
    /// Operation code of the register form, `noForm` when there is none.
    std::int16_t secondCode;
};

inline constexpr std::int16_t noForm = 999;
/// The row number that a lookup yields for an unknown mnemonic.
inline constexpr int unknownRow = 1000;

/// The assembler's whole vocabulary; the row numbers are fixed, since every pass switches on them.
inline constexpr std::array<InstructionRow, 36> instructionTable{{
    {U"NOP", 0x00, noForm},  {U"LD", 0x10, 0x14},     {U"ST", 0x11, noForm},
    {U"LAD", 0x12, noForm},  {U"ADDA", 0x20, 0x24},   {U"SUBA", 0x21, 0x25},
    {U"ADDL", 0x22, 0x26},   {U"SUBL", 0x23, 0x27},   {U"AND", 0x30, 0x34},
    {U"OR", 0x31, 0x35},     {U"XOR", 0x32, 0x36},    {U"CPA", 0x40, 0x44},
    {U"CPL", 0x41, 0x45},    {U"SLA", 0x50, noForm},  {U"SRA", 0x51, noForm},
    {U"SLL", 0x52, noForm},  {U"SRL", 0x53, noForm},  {U"JMI", 0x61, noForm},
    {U"JNZ", 0x62, noForm},  {U"JZE", 0x63, noForm},  {U"JUMP", 0x64, noForm},
    {U"JPL", 0x65, noForm},  {U"JOV", 0x66, noForm},  {U"PUSH", 0x70, noForm},
    {U"POP", 0x71, noForm},  {U"CALL", 0x80, noForm}, {U"RET", 0x81, noForm},
    {U"SVC", 0xF0, noForm},  {U"DC", 300, noForm},    {U"DS", 301, noForm},
    {U"START", 400, noForm}, {U"END", 401, noForm},   {U"IN", 500, noForm},
    {U"OUT", 501, noForm},   {U"RPUSH", 502, noForm}, {U"RPOP", 503, noForm},
}};

/// Row numbers that the passes switch on.
namespace row {
inline constexpr int nop = 0, ld = 1, st = 2, lad = 3, adda = 4, cpl = 12, sla = 13, srl = 16,
                     jmi = 17, jov = 22, push = 23, pop = 24, call = 25, ret = 26, svc = 27,
                     dc = 28, ds = 29, start = 30, end = 31, in = 32, out = 33, rpush = 34,
                     rpop = 35;
} // namespace row

/// The first row whose mnemonic equals `mnemonic` exactly (case-sensitive), else `unknownRow`.
int findInstruction(std::u32string_view mnemonic);

/// The operation codes of the register forms (`LD r1,r2` … `CPL r1,r2`), one word long.
constexpr bool isRegisterFormCode(int op) {
    switch (op) {
    case 0x14:
    case 0x24:
    case 0x25:
    case 0x26:
    case 0x27:
    case 0x34:
    case 0x35:
    case 0x36:
    case 0x44:
    case 0x45:
        return true;
    default:
        return false;
    }
}

/// Rows 1 and 4–12: the instructions with a register form and an address form.
constexpr bool hasTwoForms(int r) {
    return r == row::ld || (r >= row::adda && r <= row::cpl);
}

} // namespace casl
