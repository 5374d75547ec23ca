#include "config.h"

#include "fileio.h"
#include "workfolder.h"

#include <QFile>
#include <QStringList>

namespace qm::prx {
namespace {

constexpr int kMaxValueLength = 254;

QStringList readLines(const QString& path, bool* ok = nullptr) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (ok)
            *ok = !file.exists();
        return {};
    }
    if (ok)
        *ok = true;
    QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the final line end
    return lines;
}

// Section name of a "[name]" line, or a null string for other lines.
QString sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('[')))
        return {};
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    return close < 0 ? t.mid(1).trimmed() : t.mid(1, close - 1).trimmed();
}

bool isKeyLine(const QString& line, const QString& key, QString* value = nullptr) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq < 0 || line.trimmed().startsWith(QLatin1Char(';')))
        return false;
    if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) != 0)
        return false;
    if (value) {
        QString v = line.mid(eq + 1).trimmed();
        if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

} // namespace

QByteArray defaultIniContent() {
    const QByteArray banner(39, '=');
    return banner + "\r\n--- Quillmark / Config File ---\r\n" + banner +
           "\r\n[CONFIG]\r\nCheckPRX=1\r\nCompPRX=1\r\n";
}

QString readIniValue(const QString& path, const QString& section, const QString& key) {
    bool inSection = false;
    for (const QString& line : readLines(path)) {
        const QString name = sectionOf(line);
        if (!name.isNull()) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString value;
        if (inSection && isKeyLine(line, key, &value))
            return value.left(kMaxValueLength);
    }
    return {};
}

Status writeIniValue(const QString& path, const QString& section, const QString& key, const QString& value) {
    bool readable = false;
    QStringList lines = readLines(path, &readable);
    if (!readable)
        return Error::of(ErrorKind::Io, errnum::PathFileAccess, Reason::IniUnreadable).in(path);
    const QString entry = key + QLatin1Char('=') + value;

    qsizetype sectionLine = -1;
    qsizetype insertAt = -1;
    bool done = false;
    for (qsizetype i = 0; i < lines.size() && !done; ++i) {
        const QString name = sectionOf(lines.at(i));
        if (!name.isNull()) {
            if (sectionLine >= 0)
                break; // past the end of our section
            if (name.compare(section, Qt::CaseInsensitive) == 0) {
                sectionLine = i;
                insertAt = i + 1;
            }
            continue;
        }
        if (sectionLine < 0)
            continue;
        if (isKeyLine(lines.at(i), key)) {
            lines[i] = entry;
            done = true;
        } else if (!lines.at(i).trimmed().isEmpty()) {
            insertAt = i + 1;
        }
    }
    if (!done) {
        if (sectionLine < 0) {
            lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
            lines.append(entry);
        } else {
            lines.insert(insertAt, entry);
        }
    }
    QByteArray bytes = lines.join(QStringLiteral("\r\n")).toLatin1();
    bytes += "\r\n";
    return writeFileAtomically(path, bytes);
}

bool createDefaultIni(const QString& path) {
    return bool(writeFileAtomically(path, defaultIniContent()));
}

QString iniPath() {
    return workFolder() + kIniFileName;
}

QString readIniValue(const QString& section, const QString& key) {
    return readIniValue(iniPath(), section, key);
}

Status writeIniValue(const QString& section, const QString& key, const QString& value) {
    return writeIniValue(iniPath(), section, key, value);
}

bool iniSwitchOn(const QString& value) {
    bool ok = false;
    const int v = value.trimmed().toInt(&ok);
    return ok && v == 1;
}

} // namespace qm::prx
