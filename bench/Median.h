// SPDX-License-Identifier: GPL-3.0-or-later
// The median of a job's wall-clock seconds over runs.
#pragma once

#include <QElapsedTimer>
#include <algorithm>
#include <vector>

template <typename F> double medianSeconds(F job, int runs = 3)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        job();
        times.push_back(double(timer.nsecsElapsed()) / 1e9);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
