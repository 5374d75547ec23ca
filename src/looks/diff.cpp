#include "diff.h"

#include "look.h"

namespace qm::looks {
namespace {

// The elements (block entries, menu rows) of one side that the other lacks, once each.
QStringList extraElements(const MemberInfo& member, const QList<ShownValue>& values, qsizetype from) {
    QStringList names;
    int last = -1;
    for (qsizetype i = from; i < values.size(); ++i)
        if (values.at(i).element != last) {
            last = values.at(i).element;
            names.append(QStringLiteral("%1[%2]").arg(member.name).arg(last));
        }
    return names;
}

} // namespace

LookDiff diffLooks(const ModuleValues& a, const ModuleValues& b) {
    LookDiff diff;
    for (const MemberInfo& member : prx::members(a.kind())) {
        const bool inA = present(a, member);
        const bool inB = present(b, member);
        if (inA != inB) {
            (inA ? diff.onlyInA : diff.onlyInB).append(member.name);
            continue;
        }
        if (!inA)
            continue;
        const QList<ShownValue> shownA = shownValues(a, member);
        const QList<ShownValue> shownB = shownValues(b, member);
        const qsizetype common = std::min(shownA.size(), shownB.size());
        for (qsizetype i = 0; i < common; ++i) {
            const ShownValue& x = shownA.at(i);
            const ShownValue& y = shownB.at(i);
            if (x.text != y.text)
                diff.differences.append({x.name, x.text, y.text, x.number});
        }
        diff.onlyInA.append(extraElements(member, shownA, common));
        diff.onlyInB.append(extraElements(member, shownB, common));
    }
    return diff;
}

} // namespace qm::looks
