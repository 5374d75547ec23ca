#pragma once

// Synthetic modules for every release: the exact size, noise everywhere,
// and known values at every offset of the release's row. Offsets, sizes and
// layouts come from the tests' own tables (known_offsets.h).

#include "bytes.h"
#include "prx/paf.h"
#include "prx/vsh.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <string>
#include <vector>

namespace qm::test {

// One value the fixture wrote, as `quillmark-cli dump` prints it: the
// member name ("XmbX", "TextColors[3]", "MenuEntries[5].icon") and its text
// in the C locale, with the bytes it was written to.
struct StatedValue {
    QString name;
    QString text;
    qint64 offset;
    qint64 length;
};

struct VshFixture {
    QByteArray bytes;
    prx::VshValues expected;   // what a load shows, in the C locale
    QList<StatedValue> stated; // every value, in the order a dump shows them
};

struct PafFixture {
    QByteArray bytes;
    prx::PafValues expected;
    QList<StatedValue> stated;
};

// `seed` varies the values and the noise, so two fixtures of one release differ.
VshFixture makeVsh(int version, quint32 seed = 1);
PafFixture makePaf(int version, quint32 seed = 1);

// Where the value of PAF box `box` lies in a module of release `version`.
qint64 pafBoxOffset(int version, int box);

// A packed module: a "~PSP" header whose packed size is `packedSize`
// (the final length when 0), followed by `payload`.
QByteArray makePacked(const QByteArray& payload, qint32 plainSize, const QByteArray& moduleName = "vshmain",
                      quint8 keyByte = 0xAA, qint32 packedSize = 0);

// The packed module with all four bytes of module key `key` (0 to 5) at 0x130.
QByteArray withModuleKey(QByteArray packed, int key);

// The names of the checks of a packed module, in the order they are made.
const QStringList& packedCheckNames();

// Every release of both kinds, for tests that run over all of them.
struct ModuleRelease {
    prx::ModuleKind kind;
    int version;
};
std::vector<ModuleRelease> everyRelease();
// "vsh12", "paf3": a name for a parameterised test.
std::string releaseName(const ModuleRelease& release);

// The bytes and stated values of either kind of fixture.
struct ModuleFixture {
    QByteArray bytes;
    QList<StatedValue> stated;
};
ModuleFixture makeModule(const ModuleRelease& release, quint32 seed = 1);

// The byte ranges [offset, offset + length) a value occupies.
struct ByteRange {
    qint64 offset;
    qint64 length;
};

// Writes bytes to a file, creating folders; aborts the test run on failure.
void writeFile(const QString& path, const QByteArray& bytes);
QByteArray readFile(const QString& path);

} // namespace qm::test
