#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <chrono>
#include <vector>

// Timing and memory readings shared by the benchmarks.

using BenchClock = std::chrono::steady_clock;

inline double msSince(BenchClock::time_point start)
{
    return std::chrono::duration<double, std::milli>(BenchClock::now() - start).count();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// Resident memory of this process in megabytes, -1 when unknown.
inline double residentMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

// "--runs N" on the command line, else defaultRuns; at least 1.
inline int RunsFromArguments(int argc, char **argv, int defaultRuns)
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
            return std::max(1, std::atoi(argv[i + 1]));
    return defaultRuns;
}
