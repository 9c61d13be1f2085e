#pragma once

#include <QString>

// Record keys are "s" followed by a number from KeyCounter; they are never
// reused during a run and say nothing about order.
// Built in one allocation: loading makes one key per record.
inline QString MakeRecordKey(qint32 number)
{
    if (number < 0)
        return QLatin1Char('s') + QString::number(number);
    char16_t buffer[12];
    qsizetype i = 12;
    auto value = quint32(number);
    do {
        buffer[--i] = char16_t(u'0' + value % 10);
        value /= 10;
    } while (value != 0);
    buffer[--i] = u's';
    return QString(reinterpret_cast<const QChar *>(buffer + i), 12 - i);
}

// The most records a book can hold: list positions are 16-bit signed numbers.
inline constexpr int MaxBookRecords = 32767;
