#include "archiver.h"

#include "platform/sevenzip.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <limits>

namespace qm::compression {
namespace {

// How long one wait may block before the loop looks at the process again.
constexpr int kPollMs = 100;
// Standard error is only wanted for messages; anything before this tail goes.
constexpr qsizetype kErrorTail = 2048;
// How much of that tail a message carries.
constexpr qsizetype kMessageTail = 400;

#ifdef Q_OS_WIN
const QString kLocalName = QStringLiteral("7za.exe");
#else
const QString kLocalName = QStringLiteral("7za");
#endif

bool isExecutableFile(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

class Runner {
public:
    explicit Runner(const RunRequest& request) : m_request(request) {}

    Result<RunOutcome> run() {
        m_process.setProgram(m_request.program);
        m_process.setArguments(m_request.arguments);
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.start(QIODevice::ReadWrite);
        if (!m_process.waitForStarted(-1))
            return Error::archiver(QStringLiteral("The archiver could not be started"),
                                   m_request.program + QStringLiteral(": ") + m_process.errorString());

        if (m_request.expectedOutput > 0)
            m_outcome.output.reserve(std::min(m_request.expectedOutput, limitOrMax()) + 1);
        // QProcess keeps the input and hands it to the pipe whenever the
        // child can take more, inside the same waits that collect its
        // output, so neither pipe can fill up and block the other.
        if (!m_request.input.isEmpty())
            m_process.write(m_request.input);
        m_process.closeWriteChannel(); // once everything queued has been written
        while (m_process.state() == QProcess::Running && !m_outcome.limitExceeded) {
            // A child that closed its output early has nothing to wait for
            // but its end.
            if (!m_process.waitForReadyRead(kPollMs) && m_process.state() == QProcess::Running)
                m_process.waitForFinished(kPollMs);
            drain();
        }
        if (m_process.state() != QProcess::NotRunning) {
            // Only the limit leaves the loop with the child still running.
            m_process.kill();
            m_process.waitForFinished(-1);
        }
        drain();

        m_outcome.exitCode = m_process.exitCode();
        m_outcome.crashed = m_process.exitStatus() == QProcess::CrashExit;
        return std::move(m_outcome);
    }

private:
    qint64 limitOrMax() const {
        return m_request.outputLimit >= 0 ? m_request.outputLimit : std::numeric_limits<qint64>::max();
    }

    // Moves whatever the child has written into the outcome.
    void drain() {
        const QByteArray errors = m_process.readAllStandardError();
        if (!errors.isEmpty()) {
            m_outcome.errors += errors;
            if (m_outcome.errors.size() > kErrorTail)
                m_outcome.errors.remove(0, m_outcome.errors.size() - kErrorTail);
        }
        const QByteArray output = m_process.readAllStandardOutput();
        if (!output.isEmpty() && !m_outcome.limitExceeded) {
            m_outcome.output += output;
            if (m_outcome.output.size() > limitOrMax()) {
                m_outcome.output.truncate(limitOrMax());
                m_outcome.limitExceeded = true;
                m_process.kill();
            }
        }
        const qint64 fed = m_request.input.size() - std::max<qint64>(0, m_process.bytesToWrite());
        if (m_request.progress && (fed != m_reportedFed || m_outcome.output.size() != m_reportedRead)) {
            m_reportedFed = fed;
            m_reportedRead = m_outcome.output.size();
            m_request.progress(m_reportedFed, m_reportedRead);
        }
    }

    const RunRequest& m_request;
    QProcess m_process;
    RunOutcome m_outcome;
    qint64 m_reportedFed = 0;
    qint64 m_reportedRead = 0;
};

// Debian's 7za is a two-line shell script that hands over to the real
// program; starting that program directly spares a shell on every run.
QString withoutWrapper(const QString& path) {
    QFile file(path);
    if (file.size() > 256 || !file.open(QIODevice::ReadOnly))
        return path;
    const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
    if (lines.size() != 2 || !lines[0].startsWith("#!") || !lines[1].startsWith("exec ") ||
        !lines[1].endsWith(" \"$@\""))
        return path;
    const QString target = QString::fromLocal8Bit(lines[1].mid(5, lines[1].size() - 5 - 5)).trimmed();
    if (!QFileInfo(target).isAbsolute() || !isExecutableFile(target) || target.contains(QLatin1Char(' ')))
        return path;
    return target;
}

} // namespace

Result<QString> findArchiver(const QString& workFolder) {
    if (!workFolder.isEmpty()) {
        const QString local = QDir(workFolder).absoluteFilePath(kLocalName);
        if (isExecutableFile(local))
            return local;
    }
#ifdef Q_OS_WIN
    // A 7za.exe shipped beside the program, as the portable folder allows.
    const QString beside = QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(kLocalName);
    if (!QCoreApplication::applicationDirPath().isEmpty() && isExecutableFile(beside))
        return beside;
#endif
    for (const QString& name : {QStringLiteral("7za"), QStringLiteral("7z")}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return withoutWrapper(found);
    }
    // The 7z.exe of an installed 7-Zip (Windows only; none elsewhere).
    for (const QString& folder : platform::sevenZipFolders()) {
        const QString installed = QDir(folder).absoluteFilePath(QStringLiteral("7z.exe"));
        if (isExecutableFile(installed))
            return installed;
    }
    const QString folder =
        workFolder.isEmpty() ? QStringLiteral("the working folder") : QDir::toNativeSeparators(workFolder);
#ifdef Q_OS_WIN
    return Error::archiver(QStringLiteral("The archiver 7za.exe was not found in %1 or on PATH; install "
                                          "7-Zip's console archiver (7-Zip Extra) and put 7za.exe there")
                               .arg(folder),
                           QStringLiteral("nor beside quillmark.exe or as the 7z.exe of an installed 7-Zip. "
                                          "Get 7-Zip from https://www.7-zip.org/: installing it is enough, "
                                          "or put 7za.exe from its \"7-Zip Extra\" package beside "
                                          "quillmark.exe"));
#else
    return Error::archiver(
        QStringLiteral("The archiver 7za was not found in %1 or on PATH; install it with: apt-get install "
                       "p7zip-full")
            .arg(folder));
#endif
}

Result<RunOutcome> runArchiver(const RunRequest& request) {
    Runner runner(request);
    return runner.run();
}

QString describeFailure(const QString& program, const RunOutcome& outcome) {
    const QString name = QFileInfo(program).fileName();
    QString text = outcome.crashed ? QStringLiteral("%1 crashed").arg(name)
                                   : QStringLiteral("%1 exited with code %2").arg(name).arg(outcome.exitCode);
    QString errors = QString::fromLocal8Bit(outcome.errors).simplified();
    if (errors.size() > kMessageTail)
        errors = QStringLiteral("...") + errors.right(kMessageTail);
    if (!errors.isEmpty())
        text += QStringLiteral(": ") + errors;
    return text;
}

} // namespace qm::compression
