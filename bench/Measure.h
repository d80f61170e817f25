// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <chrono>
#include <map>
#include <vector>

// Repeated measurements of one figure.
class Samples
{
public:
    void add(double value) { m_values.push_back(value); }
    int count() const { return int(m_values.size()); }
    double median() const { return percentile(50); }
    // Linear interpolation between the nearest ranks.
    double percentile(double percent) const;

private:
    std::vector<double> m_values;
};

// The wall-clock time a call takes, in milliseconds.
template<typename Call>
double millisecondsOf(Call &&call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

// The processor time the calling thread has used, in milliseconds: unlike the
// wall clock, it leaves out the time other programs had the processor.
double threadCpuMilliseconds();

// Every figure of one run; the maps are keyed by the number of stored notes.
struct Results
{
    std::map<int, Samples> storeKeystroke;    // ms, two SaveSetting calls
    std::map<int, Samples> floorKeystroke;    // ms, two appends each made durable
    std::map<int, Samples> keystrokeDuringCopy; // ms, two SaveSetting calls while the day's check and copy run
    std::map<int, Samples> qsettingsKeystroke; // ms, two QSettings writes each synced
    std::map<int, Samples> refresh;           // ms, one RefreshCalendar
    std::map<int, Samples> refreshCpu;        // ms of the thread's own processor time, the same calls
    std::map<int, Samples> plannerStartup;    // ms from spawn to first paint
    std::map<int, Samples> plannerFirstOfDay; // ms, the start that checks the store and makes the day's copy
    std::map<int, Samples> bareStartup;       // ms, taking turns with the planner
    std::map<int, Samples> plannerMemory;     // MiB, peak resident at the first paint
    std::map<int, Samples> plannerFirstOfDayMemory;
    std::map<int, Samples> bareMemory;
    std::map<int, Samples> plannerMemoryAtEnd; // MiB, peak resident over the whole run
    std::map<int, Samples> plannerFirstOfDayMemoryAtEnd;
    std::map<int, Samples> bareMemoryAtEnd;
};
