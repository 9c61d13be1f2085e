#pragma once

#include <QString>

// Record keys are "s" followed by a number from KeyCounter; they are never
// reused during a run and say nothing about order.
inline QString MakeRecordKey(qint32 number)
{
    return QLatin1Char('s') + QString::number(number);
}

// The most records a book can hold: list positions are 16-bit signed numbers.
inline constexpr int MaxBookRecords = 32767;
