#pragma once

// How a fuzz target reports what it found: values as escaped ASCII, so a
// report shows exactly which units differ, and a line on standard error
// before the abort that libFuzzer records.

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

inline QByteArray FuzzEscaped(const QString &s, qsizetype limit = 300)
{
    QByteArray out;
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u >= 0x20 && u < 0x7F && u != u'\\')
            out += char(u);
        else
            out += "\\u" + QByteArray::number(uint(u), 16).rightJustified(4, '0');
        if (out.size() > limit) {
            out += "...";
            break;
        }
    }
    return out;
}

[[noreturn]] inline void FuzzFail(const char *target, const char *what, const QByteArray &detail = {})
{
    std::fprintf(stderr, "%s: %s%s%s\n", target, what, detail.isEmpty() ? "" : ": ", detail.constData());
    std::fflush(stderr);
    std::abort();
}
