#pragma once

// A small JSON writer. Numbers are written from the exact text given, so a
// Single keeps its shortest decimal form (QJsonDocument would print a double
// with up to 17 digits).

#include <QList>
#include <QString>
#include <QStringView>

namespace qm::looks {

// Whether a text is a number in JSON's grammar.
bool isJsonNumber(QStringView text);
// A JSON string literal, quotes included; control characters as \u00XX.
QString jsonQuoted(QStringView text);

class JsonWriter {
public:
    void beginObject();
    void endObject();
    void beginArray();
    void endArray();
    void key(QStringView name);
    void string(QStringView text);
    void integer(qint64 value);
    void boolean(bool value);
    // Writes the text as a number when it is one in JSON's grammar, else as a string.
    void number(QStringView text);
    // A module's number text as a dump writes it: "-0" as -0.0, since
    // QJsonDocument reads "-0" as the integer 0; NaN and the infinities as strings.
    void moduleNumber(QStringView text);

    // The document, on one line.
    const QString& text() const { return m_text; }

private:
    void open(QChar bracket);  // starts an object or a list
    void close(QChar bracket); // ends the innermost one
    void beforeValue();

    QString m_text;
    QList<bool> m_first; // per open container: no element written yet
    bool m_afterKey = false;
};

} // namespace qm::looks
