#pragma once
// Readable Qt values in test failure messages, and Qt texts streamed into them as they are.
#include <QByteArray>
#include <QString>
#include <ostream>

inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}
inline std::ostream& operator<<(std::ostream& os, const QByteArray& bytes) {
    return os << bytes.toStdString();
}
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text << '"';
}
inline void PrintTo(const QByteArray& bytes, std::ostream* os) {
    *os << '"' << bytes << '"';
}
