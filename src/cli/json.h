#pragma once

// A small JSON writer. Numbers are written from the exact text given, so a
// Single keeps its shortest decimal form (QJsonDocument would print a double
// with up to 17 digits).

#include <QList>
#include <QString>
#include <QStringView>

namespace qm::cli {

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
    // Writes the text as a number when it is one in JSON's grammar, else as a string.
    void number(QStringView text);

    // The document, on one line.
    const QString& text() const { return m_text; }

private:
    void beforeValue();

    QString m_text;
    QList<bool> m_first; // per open container: no element written yet
    bool m_afterKey = false;
};

} // namespace qm::cli
