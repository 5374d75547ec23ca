#pragma once

// The surroundings a test changes for a while: environment variables and
// shell scripts that stand in for other programs.

#include <QByteArray>
#include <QString>

namespace qm::test {

// Sets an environment variable for the guard's lifetime, then puts back the
// old value (or unsets the variable when it was not set).
class EnvGuard {
public:
    EnvGuard(const char* name, const QByteArray& value);
    ~EnvGuard();
    EnvGuard(const EnvGuard&) = delete;
    EnvGuard& operator=(const EnvGuard&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

// Writes a /bin/sh script of `body`, creating folders, readable and writable
// by its owner and executable unless `executable` is false. Aborts the test
// run on failure.
void writeScript(const QString& path, const QByteArray& body, bool executable = true);

} // namespace qm::test
