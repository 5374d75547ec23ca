// theme: make a CXMB theme (.ctf) from a PTF theme file, stock and edited
// modules and whole files; and themes in identify, check and apply.

#include "theme.h"

#include "backup.h"
#include "commands.h"
#include "compression/inflate.h"
#include "console.h"
#include "looks/json.h"
#include "prx/elf.h"
#include "prx/fileio.h"
#include "text/elftext.h"
#include "theme/make.h"
#include "theme/onmodule.h"
#include "theme/read.h"

#include <QFileInfo>

namespace qm::cli {
namespace {

using theme::hex;

// "1 run", "3 runs"; "1 byte", "3 bytes"
QString counted(qint64 n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1StringView(n == 1 ? one : many));
}
QString runCount(qint64 n) {
    return counted(n, "run", "runs");
}

constexpr qint64 kMaxThemeFile = qint64(160) * 1024 * 1024;

struct ModuleOptions {
    theme::Slot slot;
    QString edited; // "--vsh"
    QString stock;  // "--vsh-stock"
};
const ModuleOptions kModuleOptions[] = {
    {theme::Slot::Vsh, QStringLiteral("--vsh"), QStringLiteral("--vsh-stock")},
    {theme::Slot::Paf, QStringLiteral("--paf"), QStringLiteral("--paf-stock")},
    {theme::Slot::CommonGui, QStringLiteral("--common-gui"), QStringLiteral("--common-gui-stock")},
};

Outcome<QByteArray> readFile(const QString& path, qint64 maxSize = qint64(256) * 1024 * 1024) {
    auto bytes = prx::readWholeFile(path, maxSize);
    if (!bytes)
        return failureFrom(bytes.error());
    return std::move(*bytes);
}

// A file of an option that can't be read, naming the option: "--vsh-stock: File not found: /x.prx".
Failure ofOption(const QString& option, Failure failure) {
    failure.message = option + QStringLiteral(": ") + failure.message;
    return failure;
}

// A failure of making the theme; a module given in another's place names the option it belongs to.
Failure themeFailure(const Error& error) {
    Failure f = failureFrom(error);
    for (const ModuleOptions& o : kModuleOptions)
        if (theme::slotOfName(error.other) == o.slot)
            f.message += QStringLiteral("; give it with %1").arg(o.edited);
    return f;
}

Outcome<theme::ModulePair> modulePair(const CommandLine& line, const ModuleOptions& o) {
    const QString edited = line.value(o.edited);
    auto editedBytes = readFile(edited);
    if (!editedBytes)
        return ofOption(o.edited, editedBytes.error());
    if (const Status s = theme::checkSlot(o.slot, editedBytes->size(), edited); !s)
        return themeFailure(s.error()); // before its stock is looked for
    QString stock = line.value(o.stock);
    if (stock.isEmpty()) {
        stock = prx::originalPath(edited);
        if (!QFileInfo::exists(stock))
            return fileFailure(
                QStringLiteral("no stock module for %1: %2 doesn't exist; name the stock module "
                               "with %3 STOCK")
                    .arg(edited, stock, o.stock));
    }
    auto stockBytes = readFile(stock);
    if (!stockBytes)
        return ofOption(o.stock, stockBytes.error());
    return theme::ModulePair{o.slot, std::move(*stockBytes), std::move(*editedBytes), stock, edited};
}

Outcome<theme::ThemeRequest> request(const CommandLine& line) {
    theme::ThemeRequest r;
    if (!line.has(QStringLiteral("--ptf")))
        return usageFailure(QStringLiteral("theme needs a PTF theme file: --ptf BASE.ptf"));
    auto ptf = readFile(line.value(QStringLiteral("--ptf")));
    if (!ptf)
        return ofOption(QStringLiteral("--ptf"), ptf.error());
    r.ptf = std::move(*ptf);
    r.firmware = line.value(QStringLiteral("--firmware"));
    for (const ModuleOptions& o : kModuleOptions) {
        if (line.has(o.stock) && !line.has(o.edited))
            return usageFailure(QStringLiteral("%1 needs %2 EDITED").arg(o.stock, o.edited));
        if (!line.has(o.edited))
            continue;
        auto pair = modulePair(line, o);
        if (!pair)
            return pair.error();
        r.modules.append(std::move(*pair));
    }
    for (const QString& add : line.values(QStringLiteral("--add"))) {
        const qsizetype eq = add.indexOf(u'=');
        if (eq <= 0 || eq == add.size() - 1)
            return usageFailure(QStringLiteral("--add takes FLASHPATH=FILE, not %1").arg(add));
        auto bytes = readFile(add.mid(eq + 1));
        if (!bytes)
            return ofOption(QStringLiteral("--add"), bytes.error());
        r.files.append({add.left(eq), std::move(*bytes)});
    }
    return r;
}

void printMade(const QString& out, const theme::MadeTheme& made) {
    printLine(QStringLiteral("%1: theme \"%2\" for firmware %3, %4 %5, %6 bytes")
                  .arg(out, made.title, made.firmware, QString::number(made.entryCount()),
                       made.entryCount() == 1 ? QStringLiteral("entry") : QStringLiteral("entries"),
                       QString::number(made.bytes.size())));
    for (const theme::ModuleSummary& m : made.modules) {
        QString line =
            QStringLiteral("  %1: %2, %3 changed")
                .arg(theme::flashPath(m.slot), runCount(m.runs), counted(m.changedBytes, "byte", "bytes"));
        if (m.release)
            line += QStringLiteral(" (%1); %2 changed, %3 outside them")
                        .arg(m.release->label(), counted(m.values.size(), "value", "values"),
                             counted(m.bytesOutsideValues, "changed byte", "changed bytes"));
        else
            line += QStringLiteral(" (a release Quillmark doesn't know: a plain diff)");
        printLine(line);
        if (!m.values.isEmpty())
            printLine(QStringLiteral("    values: %1").arg(m.values.join(QStringLiteral(", "))));
    }
    for (const theme::WholeFile& f : made.files)
        printLine(
            QStringLiteral("  %1: %2 bytes, stored whole").arg(f.flashPath, QString::number(f.bytes.size())));
}

Outcome<theme::Theme> openTheme(const QString& path) {
    auto bytes = readFile(path, kMaxThemeFile);
    if (!bytes)
        return bytes.error();
    auto loaded = theme::loadTheme(*bytes);
    if (!loaded)
        return failureFrom(loaded.error(), path);
    return std::move(*loaded);
}

struct ModuleOfTheme {
    theme::Slot slot;
    std::optional<prx::ReleaseId> release;
};

Outcome<ModuleOfTheme> moduleOfTheme(const QString& path, qint64 size) {
    if (const auto release = theme::releaseOf(theme::Slot::Vsh, size))
        return ModuleOfTheme{theme::Slot::Vsh, release};
    if (const auto release = theme::releaseOf(theme::Slot::Paf, size))
        return ModuleOfTheme{theme::Slot::Paf, release};
    QString name = QFileInfo(path).fileName(); // also a kept original, vshmain.prx.orig
    if (name.endsWith(QStringLiteral(".orig")))
        name.chop(5);
    if (const auto slot = theme::slotOfName(name))
        return ModuleOfTheme{*slot, std::nullopt};
    return fileFailure(
        QStringLiteral("%1 is of no release Quillmark knows and not named vshmain.prx, paf.prx "
                       "or common_gui.prx (or NAME.orig): which module it is can't be told")
            .arg(path));
}

} // namespace

bool isThemeFile(const QString& path, bool byNameToo) {
    if (byNameToo && path.endsWith(QStringLiteral(".ctf"), Qt::CaseInsensitive))
        return true;
    auto head = prx::readFileHead(path, theme::kOffMagic + 4);
    return head && theme::looksLikeTheme(head->bytes);
}

int runTheme(const QStringList& args) {
    QList<Option> options{{QStringLiteral("--ptf"), {}, true},
                          {QStringLiteral("--firmware"), {}, true},
                          {QStringLiteral("--add"), {}, true}};
    for (const ModuleOptions& o : kModuleOptions)
        options += {{o.edited, {}, true}, {o.stock, {}, true}};
    auto line = parseCommandLine(args, options);
    if (!line)
        return report(line.error());
    if (line->operands.size() != 1)
        return report(usageFailure(QStringLiteral("theme takes one output file, OUT.ctf")));
    auto r = request(*line);
    if (!r)
        return report(r.error());
    auto made = theme::makeTheme(*r);
    if (!made) {
        Failure f = themeFailure(made.error());
        if (r->firmware.isEmpty() && made.error().description.startsWith(QStringLiteral("No firmware")))
            f.message += QStringLiteral(" (--firmware F)");
        return report(f);
    }
    const QString out = line->operands.first();
    if (const Status s = prx::writeFileAtomically(out, made->bytes); !s)
        return report(failureFrom(s.error(), out));
    printMade(out, *made);
    return kExitOk;
}

Outcome<QString> themeIdentifyLine(const QString& path, bool json) {
    auto bytes = readFile(path, kMaxThemeFile);
    if (!bytes)
        return bytes.error();
    const theme::ThemeReading reading = theme::readTheme(*bytes);
    const theme::Theme& t = reading.theme;
    const bool ok = compression::allHold(reading.checks);
    if (!json) {
        QStringList entries;
        for (const theme::ThemeEntry& e : t.entries)
            entries.append(e.runForm ? QStringLiteral("%1 (%2)").arg(e.name, runCount(e.size))
                                     : QStringLiteral("%1 (%2 bytes)").arg(e.name, QString::number(e.size)));
        return QStringLiteral("%1: CXMB theme \"%2\" for firmware %3, %4 entries%5%6")
            .arg(path, t.title, t.firmware, QString::number(t.entries.size()),
                 entries.isEmpty() ? QString() : QStringLiteral(": ") + entries.join(QStringLiteral(", ")),
                 ok ? QString() : QStringLiteral(" (fails a check: see quillmark-cli check)"));
    }
    looks::JsonWriter w;
    w.beginObject();
    w.key(u"path");
    w.string(path);
    w.key(u"size");
    w.integer(bytes->size());
    w.key(u"kind");
    w.string(u"theme");
    w.key(u"version");
    w.integer(-1);
    w.key(u"label");
    w.string(QStringLiteral("CXMB theme, firmware %1").arg(t.firmware));
    w.key(u"firmware");
    w.string(t.firmware);
    w.key(u"magic");
    w.string(hex(t.magic));
    w.key(u"title");
    w.string(t.title);
    w.key(u"ok");
    w.boolean(ok);
    w.key(u"entries");
    w.beginArray();
    for (const theme::ThemeEntry& e : t.entries) {
        w.beginObject();
        w.key(u"name");
        w.string(e.name);
        w.key(u"form");
        w.string(e.runForm ? u"runs" : u"file");
        w.key(e.runForm ? u"runs" : u"bytes");
        w.integer(e.size);
        w.endObject();
    }
    w.endArray();
    w.endObject();
    return w.text();
}

Result<QList<compression::PackedCheck>> checkAnyFile(const QString& path) {
    if (!isThemeFile(path, true))
        return compression::checkModuleFile(path);
    auto bytes = prx::readWholeFile(path, kMaxThemeFile);
    if (!bytes)
        return bytes.error();
    return theme::readTheme(*bytes).checks;
}

int applyTheme(const CommandLine& line) {
    const QString modulePath = line.operands.at(0);
    const QString themePath = line.operands.at(1);
    const QString dest = line.has(QStringLiteral("-o")) ? line.value(QStringLiteral("-o")) : modulePath;
    auto t = openTheme(themePath);
    if (!t)
        return report(t.error());
    auto module = readFile(modulePath);
    if (!module)
        return report(module.error());
    if (compression::startsPacked(*module))
        return report(fileFailure(
            QStringLiteral("%1 is a packed module: unpack it first (quillmark-cli unpack)").arg(modulePath)));
    if (const prx::ElfPrx elf = prx::inspectElfPrx(*module); !elf.prx)
        return report(
            fileFailure(QStringLiteral("%1 is no ELF PRX: %2").arg(modulePath, text::elfDetail(elf))));
    auto which = moduleOfTheme(modulePath, module->size());
    if (!which)
        return report(which.error());
    auto on = theme::themeOnModule(*t, *module, which->slot, which->release);
    if (!on)
        return report(failureFrom(on.error(), modulePath));

    const bool keepOriginal = line.has(kBackupOption.name) && samePath(dest, modulePath);
    const BackupNote original(dest);
    if (const Status s = prx::writeFileAtomically(dest, on->module, keepOriginal); !s)
        return report(failureFrom(s.error(), dest));
    if (keepOriginal)
        original.print();
    printLine(QStringLiteral("%1: %2 of %3 (firmware %4) applied, written to %5")
                  .arg(modulePath, runCount(on->entry->runs.size()), themePath, t->firmware, dest));
    for (const theme::RunOnValues& r : std::as_const(on->outside))
        printLine(QStringLiteral("  the run at offset %1 (file offset %2, %3 bytes) touches no value "
                                 "Quillmark edits")
                      .arg(hex(r.run.offset), hex(r.range.begin))
                      .arg(r.run.bytes.size()));
    return kExitOk;
}

} // namespace qm::cli
