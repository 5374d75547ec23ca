// diff: the values two modules of one kind differ in, also across releases.

#include "looks/diff.h"
#include "args.h"
#include "commands.h"
#include "looks/json.h"
#include "plainmodule.h"

namespace qm::cli {
namespace {

void writeSide(JsonWriter& w, const PlainModule& m) {
    w.beginObject();
    w.key(u"path");
    w.string(m.path);
    w.key(u"label");
    w.string(m.label);
    w.endObject();
}

void writeNames(JsonWriter& w, const QStringList& names) {
    w.beginArray();
    for (const QString& name : names)
        w.string(name);
    w.endArray();
}

QString jsonDocument(const PlainModule& a, const PlainModule& b, const LookDiff& diff) {
    JsonWriter w;
    w.beginObject();
    w.key(u"a");
    writeSide(w, a);
    w.key(u"b");
    writeSide(w, b);
    w.key(u"differences");
    w.beginArray();
    for (const ValueDifference& d : diff.differences) {
        w.beginObject();
        w.key(u"member");
        w.string(d.name);
        for (const auto& [key, text] : {std::pair{u"a", &d.a}, std::pair{u"b", &d.b}}) {
            w.key(key);
            if (d.number)
                w.moduleNumber(*text);
            else
                w.string(*text);
        }
        w.endObject();
    }
    w.endArray();
    w.key(u"only_in_a");
    writeNames(w, diff.onlyInA);
    w.key(u"only_in_b");
    writeNames(w, diff.onlyInB);
    w.endObject();
    return w.text();
}

QString shown(const QString& text) {
    return text.isEmpty() ? QStringLiteral("\"\"") : text;
}

void printText(const PlainModule& a, const PlainModule& b, const LookDiff& diff) {
    for (const ValueDifference& d : diff.differences)
        printLine(QStringLiteral("%1: %2 -> %3").arg(d.name, shown(d.a), shown(d.b)));
    for (const auto& [m, names] : {std::pair{&a, &diff.onlyInA}, std::pair{&b, &diff.onlyInB}})
        if (!names->isEmpty())
            printLine(QStringLiteral("only in %1 (%2): %3")
                          .arg(m->path, m->label, names->join(QStringLiteral(", "))));
}

} // namespace

int runDiff(const QStringList& args) {
    auto line = parseCommand(args, {kJsonOption}, 2, 2, QStringLiteral("diff takes two plain modules"));
    if (!line)
        return report(line.error());
    auto a = openPlainModule(line->operands.at(0));
    if (!a)
        return report(a.error());
    auto b = openPlainModule(line->operands.at(1));
    if (!b)
        return report(b.error());
    if (a->kind() != b->kind())
        return report(fileFailure(QStringLiteral("%1 is a %2 module and %3 a %4 module; diff compares two "
                                                 "modules of one kind")
                                      .arg(a->path, kindName(a->kind()).toString().toUpper(), b->path,
                                           kindName(b->kind()).toString().toUpper())));

    const LookDiff diff = diffLooks(a->values(), b->values());
    if (line->has(QStringLiteral("--json")))
        printLine(jsonDocument(*a, *b, diff));
    else
        printText(*a, *b, diff);
    return diff.differences.isEmpty() ? kExitOk : kExitDifferent;
}

} // namespace qm::cli
