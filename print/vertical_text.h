#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Cells of vertical writing for the postcard front: one string per printed
// line of a column (or per postal box), element 0 first.
using CellList = QStringList;

QString KanjiDigit(QStringView ch);
CellList AddressCells(QStringView text);
CellList PostalCells(QStringView text);
CellList NameCells(QStringView text, bool withHonorific);
// The name's cells, then (unless honorific is empty) one empty line and the
// honorific's characters, one a line.
CellList NameCells(QStringView text, const QString &honorific);
