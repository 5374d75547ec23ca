#include "plainmodule.h"

#include "backup.h"
#include "prx/fileio.h"
#include "prx/header.h"

#include <QFileInfo>

namespace qm::cli {
namespace {

int changedValues(const ModuleValues& a, const ModuleValues& b) {
    int n = 0;
    const auto count = [&n](const auto& x, const auto& y) {
        for (std::size_t i = 0; i < x.size(); ++i)
            n += x[i] != y[i] ? 1 : 0;
    };
    count(a.paf.numbers, b.paf.numbers);
    count(a.vsh.numbers, b.vsh.numbers);
    count(a.vsh.texts, b.vsh.texts);
    count(a.vsh.textColors, b.vsh.textColors);
    count(a.vsh.contextColors, b.vsh.contextColors);
    count(a.vsh.textColorsSlim, b.vsh.textColorsSlim);
    count(a.vsh.contextColorsSlim, b.vsh.contextColorsSlim);
    for (qsizetype k = 0; k < std::min(a.vsh.menu.size(), b.vsh.menu.size()); ++k)
        n += a.vsh.menu.at(k) != b.vsh.menu.at(k) ? 1 : 0;
    return n;
}

Problem copyUnchanged(const PlainModule& loaded, const QString& dest) {
    auto bytes = prx::readWholeFile(loaded.path);
    if (!bytes)
        return failureFrom(bytes.error());
    if (auto s = prx::writeFileAtomically(dest, *bytes); !s)
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
    auto id = prx::identifyFile(path);
    if (!id)
        return failureFrom(id.error());
    if (id->kind != prx::FileKind::Vsh && id->kind != prx::FileKind::Paf) {
        const QString what = id->kind == prx::FileKind::Packed
                                 ? QStringLiteral("a packed module (unpack it first)")
                                 : QStringLiteral("no module of a known release");
        return fileFailure(QStringLiteral("%1: not a plain VSH or PAF module: %2").arg(path, what));
    }
    PlainModule m;
    m.path = path;
    m.kind = id->kind == prx::FileKind::Vsh ? prx::ModuleKind::Vsh : prx::ModuleKind::Paf;
    m.version = id->version;
    m.label = id->label;
    m.size = id->size;
    if (m.kind == prx::ModuleKind::Vsh) {
        auto values = prx::readVshFile(path, m.version, numberLocale());
        if (!values)
            return fileFailure(path + QStringLiteral(": ") + values.error().fullText());
        m.vsh = std::move(*values);
    } else {
        auto values = prx::readPafFile(path, m.version, numberLocale());
        if (!values)
            return fileFailure(path + QStringLiteral(": ") + values.error().fullText());
        m.paf = std::move(*values);
    }
    return m;
}

Problem saveEdits(const PlainModule& loaded, const ModuleValues& edited, const QString& dest,
                  QStringList notes, bool backup) {
    const bool inPlace = samePath(loaded.path, dest);
    const bool keepOriginal = backup && inPlace;
    const BackupNote original(dest);
    if (loaded.sameValues(edited)) {
        if (!inPlace)
            return copyUnchanged(loaded, dest);
        note(QStringLiteral("no value changed; %1 left as it was").arg(loaded.path));
        return std::nullopt;
    }

    if (loaded.kind == prx::ModuleKind::Vsh) {
        prx::VshValues followed = edited.vsh;
        prx::followNetworkIcon(followed, loaded.version, numberLocale());
        const std::size_t network =
            static_cast<std::size_t>(prx::vshNumberBoxOf(prx::VshMember::NetworkIconYUnfocused));
        if (followed.numbers[network] != loaded.vsh.numbers[network])
            notes.append(QStringLiteral("NetworkIconYUnfocused follows MainIconYUnfocused: written as %1")
                             .arg(followed.numbers[network]));

        if (auto s = prx::saveVshFile(loaded.path, dest, loaded.version, loaded.vsh, edited.vsh,
                                      numberLocale(), keepOriginal);
            !s)
            return saveFailure(s.error());
    } else {
        if (auto s = prx::savePafFile(loaded.path, dest, loaded.version, loaded.paf, edited.paf,
                                      numberLocale(), keepOriginal);
            !s)
            return saveFailure(s.error());
    }
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
