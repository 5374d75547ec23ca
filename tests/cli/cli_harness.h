#pragma once

// Runs the built quillmark-cli in a scratch folder and helps compare files.

#include "prx/catalogue.h"
#include "prx/values.h"
#include "support/bytes.h"
#include "support/fixtures.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qm::test {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QString errText() const { return QString::fromUtf8(err); }
    QString outText() const { return QString::fromUtf8(out); }
};

class CliTest : public ::testing::Test {
protected:
    void SetUp() override;

    // Runs the tool with QUILLMARK_DATA_DIR pointing into the scratch folder.
    CliRun run(const QStringList& args) const;
    QString path(const QString& name) const;
    // Writes a fixture module and returns its path.
    QString writeVsh(int version, quint32 seed = 1, const QString& name = {});
    QString writePaf(int version, quint32 seed = 1, const QString& name = {});
    QString writeModule(prx::ModuleKind kind, int version, quint32 seed = 1, const QString& name = {});
    // `dump --json` of a file, parsed; fails the test when it doesn't parse.
    QJsonObject dumpJson(const QString& file) const;

    QTemporaryDir m_dir;
};

// Whether 7za or 7z is on PATH, for tests that pack or unpack.
bool haveArchiver();

// "#RRGGBB" of a colour red + 256 green + 65536 blue.
QString hexColour(quint32 rgb);

// A fixture's Single as the tool prints it: the fixtures' Singles have short
// binary fractions, so twelve digits show them exactly.
QString numberText(prx::Single value);

} // namespace qm::test
