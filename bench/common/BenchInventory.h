#pragma once

#include <QString>
#include <QTemporaryDir>
#include <QtGlobal>
#include <vector>

// A throw-away installation folder holding `items` generated items, with the
// component and the program pointed at it. Names, shops, descriptions and
// notes mix plain and accented words; amounts are whole cents up to 50,000.
class BenchInventory {
public:
    BenchInventory(int items, const QString& pristineDatabase);
    QString database() const { return m_dir.path() + QStringLiteral("/home/inv.inv"); }

private:
    QTemporaryDir m_dir;
};

// Resident memory of this process, in KiB (-1 when unknown).
long ResidentKiB();
// Before the QApplication of a window benchmark: the offscreen platform,
// unless another is set.
void UseOffscreenUnlessSet();
// A message box the benchmark did not expect is printed and answered OK.
void PrintUnexpectedMessages();
// Prints one named figure.
void PrintFigure(const char* name, double value, const char* unit);
// The baseline the windows are measured against: every row and column of
// tblItems read with the SQLite API into memory. Nanoseconds; `cells` (when
// given) receives the number of cells read.
qint64 ReadWithSqlite(const QString& file, qsizetype* cells = nullptr);
// The median of nanosecond times, in milliseconds.
double MedianMs(std::vector<qint64> values);
