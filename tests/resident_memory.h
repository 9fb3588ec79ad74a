// Resident memory of this process, for figures that show growth (Linux: /proc).
#pragma once

#include <fstream>
#include <string>

inline long resident_kib() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key && key != "VmRSS:") status.ignore(1 << 16, '\n');
    status >> value;
    return value;
}
