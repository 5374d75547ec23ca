#include "bench_common.h"

#include <QElapsedTimer>
#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace qm::bench {

double median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double runMs(const QString& program, const QStringList& args, const QString& stdinFile,
             const QString& stdoutFile, int expectedExit) {
    QProcess p;
    if (!stdinFile.isEmpty())
        p.setStandardInputFile(stdinFile);
    p.setStandardOutputFile(stdoutFile.isEmpty() ? QProcess::nullDevice() : stdoutFile);
    p.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer t;
    t.start();
    p.start(program, args);
    p.waitForFinished(-1);
    const double ms = static_cast<double>(t.nsecsElapsed()) / 1e6;
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != expectedExit)
        std::fprintf(stderr, "warning: %s %s ended with %d\n", qPrintable(program),
                     qPrintable(args.join(u' ')), p.exitCode());
    return ms;
}

double medianMs(int runs, const std::function<void()>& f) {
    QList<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        times.append(static_cast<double>(t.nsecsElapsed()) / 1e6);
    }
    return median(times);
}

void printRows(const QString& title, const QList<Row>& rows) {
    std::printf("\n%s\n", qPrintable(title));
    for (const Row& r : rows)
        std::printf("  %-52s %10.2f %-4s %-16s %s\n", qPrintable(r.what), r.value, qPrintable(r.unit),
                    qPrintable(r.target), r.target.isEmpty() ? "" : (r.met ? "met" : "MISSED"));
    std::fflush(stdout);
}

} // namespace qm::bench
