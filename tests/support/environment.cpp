#include "environment.h"

#include "fixtures.h"

#include <QFile>

#include <cstdio>
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

void writeScript(const QString& path, const QByteArray& body, bool executable) {
    writeFile(path, "#!/bin/sh\n" + body + "\n");
    auto perms = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
    if (executable)
        perms |= QFile::ExeOwner | QFile::ExeUser;
    if (!QFile::setPermissions(path, perms)) {
        std::fprintf(stderr, "cannot make %s a script\n", qPrintable(path));
        std::abort();
    }
}

} // namespace qm::test
