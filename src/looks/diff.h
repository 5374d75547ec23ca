#pragma once

// Comparing the values of two modules of one kind, also of two releases.

#include "members.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace qm::looks {

struct ValueDifference {
    QString name; // as a dump shows it: "XmbX", "TextColors[3]", "MenuEntries[5].enabled"
    QString a;
    QString b;
    bool number = false; // a Single or BmpSize
};

struct LookDiff {
    QList<ValueDifference> differences; // values both modules have that differ, in table order
    QStringList onlyInA;                // members (or menu rows) only the first module's release has
    QStringList onlyInB;
};

// Every value both modules have compared as a dump shows it: colour and
// format blocks element by element, menu rows by position and field. Both
// modules must be of one kind.
LookDiff diffLooks(const ModuleValues& a, const ModuleValues& b);

} // namespace qm::looks
