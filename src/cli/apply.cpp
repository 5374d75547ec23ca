// apply: carry the values of a dump onto a module, also one of another
// release. Values equal to the module's are left alone, so their bytes stay.

#include "args.h"
#include "backup.h"
#include "commands.h"
#include "looks/look.h"
#include "plainmodule.h"
#include "prx/fileio.h"
#include "theme.h"

namespace qm::cli {
namespace {

// The values of a dump document, or the document itself when it holds only values.
Outcome<QJsonObject> readValues(const QString& path, const PlainModule& target) {
    auto bytes = prx::readWholeFile(path, kMaxLookFile);
    if (!bytes)
        return failureFrom(bytes.error());
    const LookValues look = readLook(*bytes, target.kind());
    if (look.error)
        return fileFailure(lookErrorText(*look.error, path, target.kind(), target.path));
    return look.values;
}

} // namespace

int runApply(const QStringList& args) {
    auto line = parseWritingCommand(args, 2, 2, QStringLiteral("apply takes a module and a values file"));
    if (!line)
        return report(line.error());
    const QString out = line->value(QStringLiteral("-o"));
    if (isThemeFile(line->operands.at(1), true))
        return applyTheme(*line);

    auto module = openPlainModule(line->operands.at(0));
    if (!module)
        return report(module.error());
    auto values = readValues(line->operands.at(1), *module);
    if (!values)
        return report(values.error());

    const LookApplied applied = applyLook(*values, module->values());
    for (const QString& skipped : applied.skipped)
        note(skipped);
    if (!applied.refused.isEmpty()) {
        QList<Failure> failures;
        for (const QString& refused : applied.refused)
            failures.append(valueFailure(refused));
        failures.append(valueFailure(QStringLiteral("nothing written")));
        return reportAll(failures);
    }
    // The look's values go into the document, member by member.
    for (int m = 0; m < applied.values.memberCount(); ++m)
        module->document->setValue(m, applied.values.value(m));
    if (auto p = saveEdits(*module, out.isEmpty() ? module->path : out, applied.notes,
                           line->has(kBackupOption.name)))
        return report(*p);
    return kExitOk;
}

} // namespace qm::cli
