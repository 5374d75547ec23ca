#pragma once

// The releases of both modules and where each value lies in each of them,
// typed into the tests from the published offset tables. Tests state their
// offsets from here and never ask the catalogue under test, so that a wrong
// row in the catalogue fails them.

#include "prx/catalogue.h"

#include <QtGlobal>

#include <array>
#include <span>
#include <string_view>

namespace qm::test {

// A release by its row, for the tables that list rows as numbers.
inline prx::ReleaseId vshRow(int row) {
    return {prx::ModuleKind::Vsh, row};
}
inline prx::ReleaseId pafRow(int row) {
    return {prx::ModuleKind::Paf, row};
}

} // namespace qm::test

namespace qm::test::known {

inline constexpr int kVshRows = 14;
inline constexpr int kPafRows = 12;

struct Release {
    int row;
    const char* label;
    qint32 fileSize;
};

// How a VSH member's value lies at its offset.
enum class Layout {
    Single,  // 4-byte IEEE single
    Integer, // 16-bit signed
    Text,    // zero-terminated single-byte text, `count` characters at most
    Colours, // `count` records of three singles (red, green, blue)
    Menu,    // the first of the 16-byte main-menu entries
    Formats, // four UTF-16 strings 12 bytes apart, then a short one
};

// One line of the VSH table.
struct VshLine {
    const char* name;
    Layout layout;
    int count;                         // Text: longest text written; Colours: records; Formats: strings
    int box;                           // editor box: number box, text box or first format box; -1 for none
    std::array<qint32, kVshRows> rows; // offset in rows 1 to 14; 0 where the row lacks the member

    bool in(int row) const { return rows[static_cast<std::size_t>(row - 1)] != 0; }
    qint64 at(int row) const { return rows[static_cast<std::size_t>(row - 1)]; }
};

// One line of the PAF table: every value is a single.
struct PafLine {
    const char* name;
    int box; // txtPAFPRXValue index
    std::array<qint32, kPafRows> rows;

    bool in(int row) const { return rows[static_cast<std::size_t>(row - 1)] != 0; }
    qint64 at(int row) const { return rows[static_cast<std::size_t>(row - 1)]; }
};

const Release& vshRelease(int row);
const Release& pafRelease(int row);

// Every member, in table order (the order a dump shows them).
std::span<const VshLine> vshLines();
std::span<const PafLine> pafLines();
// A member by name; an unknown name aborts the test run.
const VshLine& vshLine(std::string_view name);
const PafLine& pafLine(std::string_view name);

// Offset of a member in a row; 0 where the row lacks it.
qint64 vshOffset(int row, std::string_view name);
qint64 pafOffset(int row, std::string_view name);
// The same, for a member given as the code names it.
qint64 vshOffset(int row, prx::VshMember member);
qint64 pafOffset(int row, prx::PafMember member);

// The main menu: 24 entries in rows 8, 9 and 14, 23 in rows 10 to 13, none
// before row 8. Rows 12 to 14 use the slim codes and names.
int menuEntryCount(int row);
bool slimMenu(int row);
std::span<const char* const> menuCategories(bool slim);
std::span<const char* const> menuIcons(bool slim);

} // namespace qm::test::known
