#include "environment.h"

#include "fixtures.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#endif
#include <cstdlib>

namespace qm::test {

EnvGuard::EnvGuard(const char* name, const QByteArray& value)
    : m_name(name), m_wasSet(qEnvironmentVariableIsSet(name)), m_old(qgetenv(name)) {
    qputenv(name, value);
}

EnvGuard::~EnvGuard() {
    if (m_wasSet)
        qputenv(m_name, m_old);
    else
        qunsetenv(m_name);
}

QString programFile(const QString& base) {
#ifdef Q_OS_WIN
    return base + QStringLiteral(".exe");
#else
    return base;
#endif
}

QString writeStandIn(const QString& base, const QByteArray& steps, bool executable) {
    removeStandIn(base);
    QDir().mkpath(QFileInfo(base).absolutePath());
    const QString source =
        programFile(QCoreApplication::applicationDirPath() + QStringLiteral("/quillmark-standin"));
    const QString program = executable ? programFile(base) : base;
    bool ok = executable ? QFile::copy(source, program) : QFile(program).open(QIODevice::WriteOnly);
    if (!steps.isEmpty())
        writeFile(base + QStringLiteral(".steps"), steps + "\n");
    auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    if (executable)
        perms |= QFile::ExeOwner | QFile::ExeUser;
    ok = ok && QFile::setPermissions(program, perms);
    if (!ok) {
        std::fprintf(stderr, "cannot put the stand-in program (%s) at %s\n", qPrintable(source),
                     qPrintable(program));
        std::abort();
    }
    return program;
}

QString archiverExit2() {
    return programFile(QStringLiteral("7za")) + QStringLiteral(" exited with code 2");
}

QString missingArchiverHint() {
#ifdef Q_OS_WIN
    return QStringLiteral("https://www.7-zip.org/");
#else
    return QStringLiteral("p7zip-full");
#endif
}

bool underWine() {
#ifdef Q_OS_WIN
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

void removeStandIn(const QString& base) {
    QFile::remove(base);
    QFile::remove(programFile(base));
    QFile::remove(base + QStringLiteral(".steps"));
}

} // namespace qm::test
