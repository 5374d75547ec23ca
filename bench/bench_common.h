#pragma once

// Small timing helpers shared by the benchmark programs.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace qm::bench {

double median(QList<double> values);
// Wall time of one run of a program, in milliseconds; stdin from `input` when given.
// Warns when the program ends with another exit code than `expectedExit`.
double runMs(const QString& program, const QStringList& args, const QString& stdinFile = {},
             const QString& stdoutFile = {}, int expectedExit = 0);
// Median wall time over `runs` calls of `f`, in milliseconds.
double medianMs(int runs, const std::function<void()>& f);

struct Row {
    QString what;
    double value;
    QString unit;
    QString target; // e.g. "< 20 ms"; empty when there is none
    bool met;
};
void printRows(const QString& title, const QList<Row>& rows);

} // namespace qm::bench
