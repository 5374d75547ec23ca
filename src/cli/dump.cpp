// dump: every value of a plain module, by member name.

#include "args.h"
#include "commands.h"
#include "looks/look.h"
#include "plainmodule.h"

namespace qm::cli {
namespace {

void printText(const PlainModule& m) {
    printLine(QStringLiteral("%1: %2 (%3, version %4, %5 bytes)")
                  .arg(m.path, m.label, kindName(m.kind()))
                  .arg(m.release().row)
                  .arg(m.size));
    for (const MemberInfo& member : prx::members(m.kind()))
        for (const ShownValue& value : shownValues(m.values(), member))
            printLine(value.name + QStringLiteral(" = ") + value.text);
}

} // namespace

int runDump(const QStringList& args) {
    auto line = parseCommand(args, {kJsonOption}, 1, 1, QStringLiteral("dump takes one file"));
    if (!line)
        return report(line.error());
    auto module = openPlainModule(line->operands.first());
    if (!module)
        return report(module.error());
    if (line->has(QStringLiteral("--json")))
        printLine(lookJson(module->values(), module->path));
    else
        printText(*module);
    return kExitOk;
}

} // namespace qm::cli
