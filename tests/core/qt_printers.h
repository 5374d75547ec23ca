#pragma once

// Readable GoogleTest output for Qt values. Internal linkage, so each test
// file gets its own copy and no other printer can clash with it.

#include <QByteArray>
#include <QString>

#include <ostream>

static inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

static inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << bytes.toHex(' ').toStdString();
}
