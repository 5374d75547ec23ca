#include "plainmodule.h"

#include "backup.h"
#include "looks/convert.h"
#include "prx/fileio.h"
#include "prx/header.h"
#include "prx/rules.h"
#include "text/errortext.h"

#include <QFileInfo>

namespace qm::cli {
namespace {

// Values set that differ from the module's, counting block elements and
// menu entries one by one. A value that follows another is not set by itself.
int changedValues(const ModuleValues& a, const ModuleValues& b) {
    int n = 0;
    for (int m = 0; m < a.memberCount(); ++m) {
        const prx::Value& x = a.value(m);
        const prx::Value& y = b.value(m);
        if (x == y || prx::followedMember(a.release(), m))
            continue;
        if (const auto* colours = std::get_if<prx::ColourBlock>(&x)) {
            const auto& other = std::get<prx::ColourBlock>(y);
            for (qsizetype i = 0; i < colours->size(); ++i)
                n += colours->at(i) != other.at(i) ? 1 : 0;
        } else if (const auto* entries = std::get_if<prx::MenuEntries>(&x)) {
            const auto& other = std::get<prx::MenuEntries>(y);
            for (qsizetype k = 0; k < entries->size(); ++k)
                n += entries->at(k) != other.at(k) ? 1 : 0;
        } else {
            ++n;
        }
    }
    return n;
}

// How the values that follow others will be written, where they change.
QStringList followingNotes(const doc::ModuleDocument& document) {
    QStringList notes;
    const ModuleValues& now = document.values();
    for (int m = 0; m < now.memberCount(); ++m) {
        const auto followed = prx::followedMember(now.release(), m);
        if (!followed || now.value(m) == document.loadedValues().value(m))
            continue;
        const prx::MemberInfo info = prx::memberInfo(now.kind(), m);
        notes.append(QStringLiteral("%1 follows %2: written as %3")
                         .arg(info.name, prx::memberInfo(now.kind(), *followed).name,
                              shownText(now.value(m), numberLocale())));
    }
    return notes;
}

Problem copyUnchanged(const PlainModule& module, const QString& dest) {
    if (auto s = prx::writeFileAtomically(dest, module.document->image().bytes()); !s)
        return failureFrom(s.error());
    note(QStringLiteral("no value changed; %1 copied to %2").arg(module.path, dest));
    return std::nullopt;
}

Failure saveFailure(const Error& error) {
    Failure f = failureFrom(error);
    if (f.exitCode == kExitValue)
        f.message += QStringLiteral(" (nothing written)");
    return f;
}

} // namespace

Outcome<PlainModule> openPlainModule(const QString& path) {
    auto document = std::make_unique<doc::ModuleDocument>();
    auto opened = document->open(path);
    if (!opened)
        return failureFrom(opened.error());
    const prx::Identification* id = &opened->id;
    if (id->kind != prx::FileKind::Vsh && id->kind != prx::FileKind::Paf) {
        const QString what = id->kind == prx::FileKind::Packed
                                 ? QStringLiteral("a packed module (unpack it first)")
                                 : QStringLiteral("no module of a known release");
        return fileFailure(QStringLiteral("%1: not a plain VSH or PAF module: %2").arg(path, what));
    }
    if (opened->loadError)
        return fileFailure(path + QStringLiteral(": ") + text::fullText(*opened->loadError));
    return PlainModule{std::move(document), path, id->label, id->size};
}

Problem saveEdits(PlainModule& module, const QString& dest, QStringList notes, bool backup) {
    doc::ModuleDocument& document = *module.document;
    const bool inPlace = samePath(module.path, dest);
    const bool keepOriginal = backup && inPlace;
    const BackupNote original(dest);
    const int n = changedValues(document.loadedValues(), document.values());
    if (n == 0) {
        if (!inPlace)
            return copyUnchanged(module, dest);
        note(QStringLiteral("no value changed; %1 left as it was").arg(module.path));
        return std::nullopt;
    }
    notes.append(followingNotes(document));
    if (auto s = document.save(dest, keepOriginal); !s)
        return saveFailure(s.error());
    if (keepOriginal)
        original.print();
    for (const QString& text : std::as_const(notes))
        note(text);
    note(QStringLiteral("%1 %2 written to %3")
             .arg(n)
             .arg(n == 1 ? QStringLiteral("value") : QStringLiteral("values"), dest));
    return std::nullopt;
}

} // namespace qm::cli
