#include "json.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace qm::looks {

bool isJsonNumber(QStringView text) {
    qsizetype i = 0;
    const qsizetype n = text.size();
    const auto digits = [&] {
        const qsizetype start = i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        return i - start;
    };
    if (i < n && text[i] == u'-')
        ++i;
    const qsizetype intStart = i;
    const qsizetype intDigits = digits();
    if (intDigits == 0 || (intDigits > 1 && text[intStart] == u'0'))
        return false;
    if (i < n && text[i] == u'.') {
        ++i;
        if (digits() == 0)
            return false;
    }
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

QString jsonQuoted(QStringView text) {
    QString out;
    out.reserve(text.size() + 2);
    out.append(QLatin1Char('"'));
    // The characters JSON writes with a letter after the backslash, or as themselves.
    static constexpr std::pair<char16_t, char> kEscapes[] = {
        {u'"', '"'}, {u'\\', '\\'}, {u'\n', 'n'}, {u'\r', 'r'}, {u'\t', 't'}};
    for (QChar c : text) {
        const char16_t u = c.unicode();
        const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                          [u](const auto& e) { return e.first == u; });
        if (escape != std::end(kEscapes)) {
            out.append(QLatin1Char('\\'));
            out.append(QLatin1Char(escape->second));
        } else if (u < 0x20 || (u >= 0x7F && u < 0xA0)) {
            // Control characters, and the C1 range a Latin-1 text may hold.
            out.append(QStringLiteral("\\u%1").arg(static_cast<uint>(u), 4, 16, QLatin1Char('0')));
        } else {
            out.append(c);
        }
    }
    out.append(QLatin1Char('"'));
    return out;
}

void JsonWriter::beforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.isEmpty()) {
        if (!m_first.last())
            m_text.append(QLatin1Char(','));
        m_first.last() = false;
    }
}

void JsonWriter::open(QChar bracket) {
    beforeValue();
    m_text.append(bracket);
    m_first.append(true);
}

void JsonWriter::close(QChar bracket) {
    m_first.removeLast();
    m_text.append(bracket);
}

void JsonWriter::beginObject() {
    open(QLatin1Char('{'));
}
void JsonWriter::endObject() {
    close(QLatin1Char('}'));
}
void JsonWriter::beginArray() {
    open(QLatin1Char('['));
}
void JsonWriter::endArray() {
    close(QLatin1Char(']'));
}

void JsonWriter::key(QStringView name) {
    beforeValue();
    m_text.append(jsonQuoted(name));
    m_text.append(QLatin1Char(':'));
    m_afterKey = true;
}

void JsonWriter::string(QStringView text) {
    beforeValue();
    m_text.append(jsonQuoted(text));
}

void JsonWriter::integer(qint64 value) {
    beforeValue();
    m_text.append(QString::number(value));
}

void JsonWriter::boolean(bool value) {
    beforeValue();
    m_text.append(value ? QStringLiteral("true") : QStringLiteral("false"));
}

void JsonWriter::number(QStringView text) {
    if (!isJsonNumber(text)) {
        string(text);
        return;
    }
    beforeValue();
    m_text.append(text);
}

void JsonWriter::moduleNumber(QStringView text) {
    number(text == u"-0" ? QStringView(u"-0.0") : text);
}

} // namespace qm::looks
