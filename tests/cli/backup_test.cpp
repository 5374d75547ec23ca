// --backup: set, apply and pack keep the module they overwrite as NAME.orig,
// once, and only when they really replace it.

#include "cli_harness.h"

#include <QDir>
#include <QJsonDocument>

#include <vector>

using namespace qm;
using namespace qm::test;

namespace {

class Backup : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        module = writeVsh(12, 1, QStringLiteral("vshmain.prx"));
        original = readFile(module);
        orig = module + QStringLiteral(".orig");
        // A look that changes values: the dump of another fixture of the release.
        look = path(QStringLiteral("look.json"));
        writeFile(look, QJsonDocument(dumpJson(writeVsh(12, 2, QStringLiteral("other.prx")))).toJson());
        self = path(QStringLiteral("self.json"));
        writeFile(self, QJsonDocument(dumpJson(module)).toJson());
        header = path(QStringLiteral("header.prx"));
        writeFile(header, makePacked(QByteArray(200, 'h'), 5));
    }
    QString module, orig, look, self, header;
    QByteArray original;
};

struct Case {
    const char* name;
    std::vector<const char*>
        args; // "M": the module, "L": a look, "S": its own look, "H": a header, "O": another file
    int exitCode;
    bool origMade;
    bool needsArchiver = false;
};

} // namespace

TEST_F(Backup, OnlyWhenTheModuleItselfIsReplaced) {
    const Case cases[] = {
        {"set in place", {"set", "M", "XmbX=1.5", "--backup"}, 0, true},
        {"set -o naming the module", {"set", "M", "XmbX=1.5", "-o", "M", "--backup"}, 0, true},
        {"set -o another file", {"set", "M", "XmbX=1.5", "-o", "O", "--backup"}, 0, false},
        {"set without --backup", {"set", "M", "XmbX=1.5"}, 0, false},
        {"set, a refused value", {"set", "M", "XmbX=abc", "--backup"}, 3, false},
        {"set, a name no module has", {"set", "M", "Nothing=1", "--backup"}, 1, false},
        {"apply, no value changed", {"apply", "M", "S", "--backup"}, 0, false},
        {"apply in place", {"apply", "M", "L", "--backup"}, 0, true},
        {"apply -o another file", {"apply", "M", "L", "-o", "O", "--backup"}, 0, false},
        {"pack in place", {"pack", "M", "--header", "H", "--backup"}, 0, true, true},
        {"pack -o another file", {"pack", "M", "--header", "H", "-o", "O", "--backup"}, 0, false, true},
        {"pack without --backup", {"pack", "M", "--header", "H"}, 0, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.needsArchiver && !haveArchiver())
            continue;
        writeFile(module, original);
        QFile::remove(orig);
        const QString other = path(QStringLiteral("other-out.prx"));
        QFile::remove(other);
        QStringList args;
        for (const char* arg : c.args) {
            const QString a = QString::fromLatin1(arg);
            args.append(a == u"M"   ? module
                        : a == u"L" ? look
                        : a == u"S" ? self
                        : a == u"H" ? header
                        : a == u"O" ? other
                                    : a);
        }
        const CliRun r = run(args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        EXPECT_EQ(QFileInfo::exists(orig), c.origMade);
        EXPECT_EQ(r.errText().contains(QStringLiteral("the original is kept as ") + orig), c.origMade)
            << r.err.toStdString();
        if (c.origMade) {
            EXPECT_TRUE(readFile(orig) == original);
            EXPECT_FALSE(readFile(module) == original);
        }
        if (c.exitCode != 0) {
            EXPECT_TRUE(readFile(module) == original);
        }
    }
}

TEST_F(Backup, TheFirstOriginalIsNeverReplaced) {
    for (const char* value : {"XmbX=1.5", "XmbX=2.5", "XmbX=3.5"}) {
        SCOPED_TRACE(value);
        const bool first = !QFileInfo::exists(orig);
        const CliRun r =
            run({QStringLiteral("set"), module, QString::fromLatin1(value), QStringLiteral("--backup")});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.errText().contains(QStringLiteral("the original is kept as")), first);
        EXPECT_TRUE(readFile(orig) == original);
    }
    // Restoring is copying the original back.
    ASSERT_TRUE(QFile::remove(module));
    ASSERT_TRUE(QFile::copy(orig, module));
    EXPECT_TRUE(readFile(module) == original);
}
