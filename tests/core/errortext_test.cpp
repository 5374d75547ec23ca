// The words made from a failure's facts, and the facts the core reports:
// the value, its offset and the file concerned.

#include "prx/fileio.h"
#include "prx/module.h"
#include "prx/valueio.h"
#include "qt_printers.h"
#include "support/fixtures.h"
#include "support/known_offsets.h"
#include "text/errortext.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace qm;
using namespace qm::prx;

namespace {

Error fact(ErrorKind kind, int number, Reason reason) {
    return Error::of(kind, number, reason);
}

Error withText(Error e, const QString& text) {
    e.text = text;
    return e;
}

Error withSizes(Error e, qint64 count, qint64 limit, const QString& other = {}) {
    e.count = count;
    e.limit = limit;
    e.other = other;
    return e;
}

Error outside(Error e, double value, double low, double high) {
    e.value = value;
    e.low = low;
    e.high = high;
    return e;
}

Error character(char16_t c) {
    Error e = fact(ErrorKind::Conversion, errnum::TypeMismatch, Reason::Unstorable);
    e.character = c;
    return e;
}

TEST(ErrorText, WordsEveryKindOfFact) {
    const QString path = QStringLiteral("/m/vshmain.prx");
    const struct {
        const char* what;
        Error error;
        const char* user;
        const char* full;
    } cases[] = {
        {"no path", fact(ErrorKind::Io, 53, Reason::NoFileNamed), "Error 53 occurred! (File not found)",
         "File not found: no file named"},
        {"missing file", fact(ErrorKind::Io, 53, Reason::FileMissing).in(path),
         "Error 53 occurred! (File not found)", "File not found: /m/vshmain.prx"},
        {"refused read",
         withText(fact(ErrorKind::Io, 70, Reason::NoAccess).in(path), QStringLiteral("Permission denied")),
         "Error 70 occurred! (Permission denied)", "Permission denied: /m/vshmain.prx: Permission denied"},
        {"longer than the release",
         withSizes(fact(ErrorKind::NotModule, 75, Reason::NotRelease).in(path), -1, -1,
                   QStringLiteral("VSHMain.prx - 3.71")),
         "Error 75 occurred! (Bad file length)",
         "Bad file length: /m/vshmain.prx is not a VSHMain.prx - 3.71 module"},
        {"wrong length",
         withSizes(fact(ErrorKind::NotModule, 59, Reason::WrongLength).in(path), 10, 311434,
                   QStringLiteral("VSHMain.prx - 3.71")),
         "Error 59 occurred! (Bad file length)",
         "Bad file length: /m/vshmain.prx holds 10 bytes, a VSHMain.prx - 3.71 module holds 311434"},
        {"beyond the end, of a value",
         withSizes(fact(ErrorKind::Io, 59, Reason::BeyondEnd).at(0x1f0), 4, 16)
             .named(QStringLiteral("ClockX")),
         "Error 59 occurred! (Bad file length)",
         "Bad file length: ClockX: 4 bytes at offset 0x1f0 lie beyond the end of a 16-byte module"},
        {"no terminator", withSizes(fact(ErrorKind::Conversion, 5, Reason::NoTerminator).at(0x2a), 16, -1),
         "Error 5 occurred! (Invalid procedure call or argument)",
         "Invalid procedure call or argument: no terminating zero byte within 16 bytes at offset 0x2a"},
        {"unstorable, nested",
         character(0x65e5).named(QStringLiteral("MenuEntries[2]")).named(QStringLiteral("MenuEntries")),
         "Error 13 occurred! (Type mismatch)",
         "Type mismatch: MenuEntries: MenuEntries[2]: the character U+65e5 can't be stored in a module text"},
        {"text out of range",
         outside(withText(fact(ErrorKind::Conversion, 6, Reason::TextOutside), QStringLiteral(" -4e4")), 0,
                 -32768, 32767),
         "Error 6 occurred! (Overflow)", "Overflow: \" -4e4\" is outside -32768 to 32767"},
        {"number out of range",
         outside(fact(ErrorKind::Conversion, 6, Reason::NumberOutside), -40000.5, -32768, 32767),
         "Error 6 occurred! (Overflow)", "Overflow: -40000.5 is outside -32768 to 32767"},
        {"infinite for a single", fact(ErrorKind::Conversion, 6, Reason::NumberBeyondSingle),
         "Error 6 occurred! (Overflow)", "Overflow: the number is beyond the range of a Single"},
        {"empty text", fact(ErrorKind::Check, 0, Reason::ValueEmpty).named(QStringLiteral("MSIconPhoto")),
         "One of the value is empty", "One of the value is empty: MSIconPhoto"},
        {"bmp size", fact(ErrorKind::Check, 0, Reason::BmpMax), "BMP Max Size it's 32767 bytes",
         "BMP Max Size it's 32767 bytes"},
        {"nothing open", fact(ErrorKind::NotModule, 75, Reason::NothingOpen),
         "Error 75 occurred! (No module is open)", "No module is open: nothing to save"},
        {"worded, of a module",
         Error::notModule(QStringLiteral("The module is no ELF PRX"), QStringLiteral("empty"))
             .named(QStringLiteral("paf.prx")),
         "Error 75 occurred! (The module is no ELF PRX)", "The module is no ELF PRX: paf.prx: empty"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(text::userText(c.error), QString::fromUtf8(c.user));
        EXPECT_EQ(text::fullText(c.error), QString::fromUtf8(c.full));
    }
}

TEST(ErrorText, NamesTheFileInTheWindowsText) {
    const Error empty = fact(ErrorKind::Check, 0, Reason::ValueEmpty).named(QStringLiteral("MSIconPhoto"));
    const Error terminator = withSizes(fact(ErrorKind::Conversion, 5, Reason::NoTerminator).at(0x2a), 16, -1)
                                 .named(QStringLiteral("UMDIconMusic"));
    EXPECT_EQ(text::userText(terminator, QStringLiteral("vshmain.prx")),
              QStringLiteral(
                  "Error 5 occurred! (Invalid procedure call or argument: UMDIconMusic: no terminating zero "
                  "byte within 16 bytes at offset 0x2a in vshmain.prx)"));
    EXPECT_EQ(text::userText(fact(ErrorKind::Io, 53, Reason::NoFileNamed).in({}), QStringLiteral("a.prx")),
              QStringLiteral("Error 53 occurred! (File not found: no file named in a.prx)"));
    EXPECT_EQ(text::userText(fact(ErrorKind::Conversion, 6, Reason::NumberBeyondSingle), QString()),
              QStringLiteral("Error 6 occurred! (Overflow)"));
    EXPECT_EQ(text::userText(empty, QStringLiteral("vshmain.prx")),
              QStringLiteral("One of the value is empty"));
}

// A value refused by a look or the command line: its name first, then why.
TEST(ErrorText, WordsARefusalAfterTheValuesName) {
    const auto about = [](Error e, const char* name) { return e.named(QString::fromLatin1(name)); };
    Error choice = withText(fact(ErrorKind::Check, 0, Reason::NotChoice), QStringLiteral("Foto"));
    choice.other = QStringLiteral("Settings, Photo");
    Error icon = withText(fact(ErrorKind::Check, 0, Reason::NotIconCode), QStringLiteral("40"));
    icon.limit = 32;
    Error typed = fact(ErrorKind::Check, 0, Reason::TypedCharacter);
    typed.character = 0x2603;
    const struct {
        Error error;
        const char* words;
    } cases[] = {
        {about(withText(fact(ErrorKind::Conversion, 13, Reason::NotNumber), QStringLiteral("60-")), "XmbX"),
         "XmbX: Type mismatch: \"60-\" is not a number"},
        {about(fact(ErrorKind::Check, 0, Reason::BmpMax), "BmpSize"),
         "BmpSize: BMP Max Size it's 32767 bytes"},
        {about(fact(ErrorKind::Check, 0, Reason::ValueEmpty), "HoldX"), "HoldX: One of the value is empty"},
        {about(withText(fact(ErrorKind::Check, 0, Reason::NotColour), QStringLiteral("red")),
               "TextColors[0]"),
         "TextColors[0]: \"red\" is not a colour of the form #RRGGBB"},
        {about(choice, "MenuEntries[1].category"),
         "MenuEntries[1].category: \"Foto\" is not one of: Settings, Photo"},
        {about(icon, "MenuEntries[0].order"),
         "MenuEntries[0].order: \"40\" is not an icon code from 0 to 32"},
        {about(typed, "MSIconGame"), "MSIconGame: the character U+2603 can't be stored in a module text (one "
                                     "byte each, U+0001 to U+00FF)"},
        {about(fact(ErrorKind::Conversion, 6, Reason::NumberBeyondSingle), "MuteX"),
         "MuteX: Overflow: the number is beyond the range of a Single"},
        {Error::check(QStringLiteral("XmbX: expected a number")), "XmbX: expected a number"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(text::refusalText(c.error), QString::fromUtf8(c.words));
}

// A refused text is reported with its member and the member's offset, on
// every VSH release.
TEST(ErrorFacts, RefusedTextNamesItsMemberAndOffset) {
    for (int row = 1; row <= test::known::kVshRows; ++row) {
        SCOPED_TRACE(row);
        const auto fixture = test::makeVsh(row);
        const qint64 offset = test::known::vshOffset(row, "MSIconPhoto");
        for (const auto& [given, reason] : {std::pair{QString(), Reason::ValueEmpty},
                                            std::pair{QStringLiteral("\u65e5"), Reason::Unstorable}}) {
            ModuleValues edited = fixture.expected;
            edited.setValue(VshMember::MSIconPhoto, given);
            auto saved = applyValues(ModuleImage(fixture.bytes), fixture.expected, edited);
            ASSERT_FALSE(saved);
            EXPECT_EQ(saved.error().reason, reason);
            EXPECT_EQ(saved.error().member, QStringLiteral("MSIconPhoto"));
            EXPECT_EQ(saved.error().offset, offset);
        }
    }
}

TEST(ErrorFacts, FileErrorsNameTheirPath) {
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("nosuch.prx"));
    auto read = readModule(missing, ReleaseId{ModuleKind::Vsh, 12});
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().number, 53);
    EXPECT_EQ(read.error().path, missing);

    auto written = writeFileAtomically(dir.path(), QByteArray("x"));
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().reason, Reason::IsFolder);
    EXPECT_EQ(written.error().path, dir.path());
}

} // namespace
