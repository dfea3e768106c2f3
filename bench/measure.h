#ifndef VELDRIX_BENCH_MEASURE_H
#define VELDRIX_BENCH_MEASURE_H

// What the click benchmarks share: the longest the window went without
// handling its events during a click, and the median of a series.

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>

#include <algorithm>
#include <vector>

namespace measure
{

// Runs `click` while a precise timer ticks every 5 ms, and returns the
// longest stretch, in ms, between two ticks (the start and the end of the
// click count as ticks): the longest the window could neither repaint nor
// take a close. A message box that comes up meanwhile is answered with OK at
// the next tick, as by a quick user.
template <class Click> qint64 longestStall(Click click)
{
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.restart());
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
            box->done(QMessageBox::Ok);
    });
    ticker.start(5);
    sinceTick.start();
    click();
    return std::max(longest, sinceTick.elapsed());
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace measure

#endif
