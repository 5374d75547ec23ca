#include "cli_harness.h"

#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

namespace qm::test {

void CliTest::SetUp() {
    ASSERT_TRUE(m_dir.isValid());
}

CliRun CliTest::run(const QStringList& args) const {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QUILLMARK_DATA_DIR"), m_dir.filePath(QStringLiteral("data")));
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(m_dir.path());
    // QUILLMARK_CLI names another build of the tool, e.g. the Windows one
    // under Wine, where the build's path is no Windows path.
    process.start(qEnvironmentVariable("QUILLMARK_CLI", QStringLiteral(QUILLMARK_CLI_PATH)), args);
    CliRun r;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        ADD_FAILURE() << "quillmark-cli did not finish: " << args.join(u' ').toStdString();
        process.kill();
        process.waitForFinished();
        return r;
    }
    r.exitCode = process.exitCode();
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

QString CliTest::path(const QString& name) const {
    return m_dir.filePath(name);
}

QString CliTest::writeVsh(int version, quint32 seed, const QString& name) {
    const QString file = path(name.isEmpty() ? QStringLiteral("vsh%1_%2.prx").arg(version).arg(seed) : name);
    writeFile(file, makeVsh(version, seed).bytes);
    return file;
}

QString CliTest::writePaf(int version, quint32 seed, const QString& name) {
    const QString file = path(name.isEmpty() ? QStringLiteral("paf%1_%2.prx").arg(version).arg(seed) : name);
    writeFile(file, makePaf(version, seed).bytes);
    return file;
}

QString CliTest::writeModule(prx::ModuleKind kind, int version, quint32 seed, const QString& name) {
    return kind == prx::ModuleKind::Vsh ? writeVsh(version, seed, name) : writePaf(version, seed, name);
}

QJsonObject CliTest::dumpJson(const QString& file) const {
    const CliRun r = run({QStringLiteral("dump"), QStringLiteral("--json"), file});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(r.out, &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << error.errorString().toStdString();
    return doc.object();
}

bool haveArchiver() {
    return !QStandardPaths::findExecutable(QStringLiteral("7za")).isEmpty() ||
           !QStandardPaths::findExecutable(QStringLiteral("7z")).isEmpty();
}

QString hexColour(quint32 rgb) {
    return QStringLiteral("#%1%2%3")
        .arg(rgb & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((rgb >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg((rgb >> 16) & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper();
}

QString numberText(prx::Single value) {
    return QString::number(static_cast<double>(value.toFloat()), 'g', 12);
}

} // namespace qm::test
