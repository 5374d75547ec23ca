// check: whether packed modules are fit for a console, the way its loader
// meets them, and whether plain ones are modules of a known release. Never
// writes.

#include "compression/check.h"
#include "args.h"
#include "commands.h"
#include "console.h"
#include "looks/json.h"
#include "ptfbase.h"
#include "text/errortext.h"
#include "theme.h"

namespace qm::cli {
namespace {

QString jsonLine(const QString& path, const QList<compression::PackedCheck>& checks) {
    looks::JsonWriter w;
    w.beginObject();
    w.key(u"path");
    w.string(path);
    w.key(u"ok");
    w.boolean(compression::allHold(checks));
    w.key(u"checks");
    w.beginArray();
    for (const compression::PackedCheck& c : checks) {
        w.beginObject();
        w.key(u"name");
        w.string(c.name);
        w.key(u"ok");
        w.boolean(c.ok);
        w.key(u"note");
        w.boolean(c.note);
        w.key(u"detail");
        w.string(c.detail);
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.text();
}

void printText(const QString& path, const QList<compression::PackedCheck>& checks) {
    const auto failed =
        std::count_if(checks.begin(), checks.end(), [](const auto& c) { return !c.ok && !c.note; });
    const auto notes = compression::notesRaised(checks).size();
    const QString noted = notes == 0   ? QString()
                          : notes == 1 ? QStringLiteral(", 1 note")
                                       : QStringLiteral(", %1 notes").arg(notes);
    printLine(failed == 0 ? QStringLiteral("%1: every check holds%2").arg(path, noted)
                          : QStringLiteral("%1: %2 of %3 checks fail%4")
                                .arg(path)
                                .arg(failed)
                                .arg(checks.size())
                                .arg(noted));
    for (const compression::PackedCheck& c : checks)
        printLine(QStringLiteral("  %1 %2 %3")
                      .arg(c.name, -12)
                      .arg(c.ok     ? QStringLiteral("ok    ")
                           : c.note ? QStringLiteral("note  ")
                                    : QStringLiteral("FAILED"),
                           c.detail));
}

} // namespace

int runCheck(const QStringList& args) {
    return runOverFiles(args, QStringLiteral("check needs at least one module"),
                        [](const QString& path, bool json) {
                            // A broken theme named *.ctf is checked as the theme it was meant to be.
                            if (const auto ptf = isThemeFile(path, true) ? std::nullopt : ptfBase(path)) {
                                note(ptfNotChecked(path, *ptf));
                                return kExitFile;
                            }
                            const auto checked = checkAnyFile(path);
                            if (!checked) {
                                note(text::fullText(checked.error()));
                                return kExitFile;
                            }
                            const QList<compression::PackedCheck>& checks = *checked;
                            if (json)
                                printLine(jsonLine(path, checks));
                            else
                                printText(path, checks);
                            return compression::allHold(checks) ? kExitOk : kExitValue;
                        });
}

} // namespace qm::cli
