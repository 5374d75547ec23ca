#include "plainmodule.h"

#include "backup.h"
#include "prx/fileio.h"
#include "prx/header.h"
#include "prx/rules.h"
#include "text/errortext.h"
#include "text/numbers.h"

#include <QFileInfo>

namespace qm::cli {
namespace {

// Values that differ, counting block elements and menu entries one by one.
int changedValues(const ModuleValues& a, const ModuleValues& b) {
    int n = 0;
    for (int m = 0; m < a.memberCount(); ++m) {
        const prx::Value& x = a.value(m);
        const prx::Value& y = b.value(m);
        if (x == y)
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

Problem copyUnchanged(const PlainModule& loaded, const QString& dest) {
    if (auto s = prx::writeFileAtomically(dest, loaded.document->image().bytes()); !s)
        return failureFrom(s.error());
    note(QStringLiteral("no value changed; %1 copied to %2").arg(loaded.path, dest));
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
    auto document = std::make_shared<doc::ModuleDocument>();
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
    PlainModule m;
    static_cast<ModuleValues&>(m) = document->loadedValues();
    m.path = path;
    m.label = id->label;
    m.size = id->size;
    m.document = std::move(document);
    return m;
}

Problem saveEdits(const PlainModule& loaded, const ModuleValues& edited, const QString& dest,
                  QStringList notes, bool backup) {
    const bool inPlace = samePath(loaded.path, dest);
    const bool keepOriginal = backup && inPlace;
    const BackupNote original(dest);
    if (static_cast<const ModuleValues&>(loaded) == edited) {
        if (!inPlace)
            return copyUnchanged(loaded, dest);
        note(QStringLiteral("no value changed; %1 left as it was").arg(loaded.path));
        return std::nullopt;
    }

    ModuleValues followed = edited;
    prx::applyFollowing(followed);
    const auto network = prx::VshMember::NetworkIconYUnfocused;
    if (followed.has(network) && followed.value(network) != loaded.value(network) &&
        prx::followsMainIcon(loaded.release(), network))
        notes.append(QStringLiteral("NetworkIconYUnfocused follows MainIconYUnfocused: written as %1")
                         .arg(text::formatSingle(followed.single(network).toFloat(), numberLocale())));

    loaded.document->setValues(edited);
    if (auto s = loaded.document->save(dest, keepOriginal); !s)
        return saveFailure(s.error());
    if (keepOriginal)
        original.print();
    for (const QString& text : std::as_const(notes))
        note(text);
    const int n = changedValues(loaded, edited);
    note(QStringLiteral("%1 %2 written to %3")
             .arg(n)
             .arg(n == 1 ? QStringLiteral("value") : QStringLiteral("values"), dest));
    return std::nullopt;
}

} // namespace qm::cli
