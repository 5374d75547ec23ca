// dump: every value of a plain module, by member name.

#include "args.h"
#include "commands.h"
#include "json.h"
#include "members.h"
#include "plainmodule.h"
#include "prx/codecs.h"

namespace qm::cli {
namespace {

void writeMenuRow(JsonWriter& w, const prx::MenuRow& row) {
    w.beginObject();
    w.key(u"order");
    w.string(row.order);
    w.key(u"category");
    w.string(row.category);
    w.key(u"icon");
    w.string(row.icon);
    w.key(u"region");
    w.string(row.region);
    w.key(u"enabled");
    w.string(row.enabled);
    w.endObject();
}

void writeValue(JsonWriter& w, const PlainModule& m, const Member& member) {
    switch (member.shape) {
    case Shape::Single:
    case Shape::Integer: {
        const QString& text = numberText(m, member);
        // QJsonDocument reads "-0" as the integer 0; "-0.0" keeps the sign.
        w.number(text == u"-0" ? QStringLiteral("-0.0") : text); // NaN and the infinities come out as strings
        return;
    }
    case Shape::Text:
        w.string(m.vsh.texts[static_cast<std::size_t>(member.slot)]);
        return;
    case Shape::Colors:
        w.beginArray();
        for (prx::Rgb c : colours(m.vsh, member))
            w.string(prx::rgbToHex(c));
        w.endArray();
        return;
    case Shape::Menu:
        w.beginArray();
        for (const prx::MenuRow& row : m.vsh.menu)
            writeMenuRow(w, row);
        w.endArray();
        return;
    case Shape::Formats:
        w.beginArray();
        for (int i = 0; i < member.count; ++i)
            w.string(m.vsh.texts[static_cast<std::size_t>(member.slot + i)]);
        w.endArray();
        return;
    }
}

QString jsonDocument(const PlainModule& m) {
    JsonWriter w;
    w.beginObject();
    w.key(u"path");
    w.string(m.path);
    w.key(u"kind");
    w.string(QString(kindName(m.kind)));
    w.key(u"version");
    w.integer(m.version);
    w.key(u"label");
    w.string(m.label);
    w.key(u"values");
    w.beginObject();
    for (const Member& member : allMembers(m.kind)) {
        if (!present(m, member))
            continue;
        w.key(member.name);
        writeValue(w, m, member);
    }
    w.endObject();
    w.endObject();
    return w.text();
}

void printText(const PlainModule& m) {
    printLine(QStringLiteral("%1: %2 (%3, version %4, %5 bytes)")
                  .arg(m.path, m.label, kindName(m.kind))
                  .arg(m.version)
                  .arg(m.size));
    const auto line = [](const QString& name, const QString& value) {
        printLine(name + QStringLiteral(" = ") + value);
    };
    for (const Member& member : allMembers(m.kind)) {
        if (!present(m, member))
            continue;
        switch (member.shape) {
        case Shape::Single:
        case Shape::Integer:
            line(member.name, numberText(m, member));
            break;
        case Shape::Text:
            line(member.name, m.vsh.texts[static_cast<std::size_t>(member.slot)]);
            break;
        case Shape::Colors: {
            int i = 0;
            for (prx::Rgb c : colours(m.vsh, member))
                line(QStringLiteral("%1[%2]").arg(member.name).arg(i++), prx::rgbToHex(c));
            break;
        }
        case Shape::Menu:
            for (qsizetype k = 0; k < m.vsh.menu.size(); ++k) {
                const prx::MenuRow& row = m.vsh.menu.at(k);
                const QString entry = QStringLiteral("%1[%2].").arg(member.name).arg(k);
                line(entry + QStringLiteral("order"), row.order);
                line(entry + QStringLiteral("category"), row.category);
                line(entry + QStringLiteral("icon"), row.icon);
                line(entry + QStringLiteral("region"), row.region);
                line(entry + QStringLiteral("enabled"), row.enabled);
            }
            break;
        case Shape::Formats:
            for (int i = 0; i < member.count; ++i)
                line(QStringLiteral("%1[%2]").arg(member.name).arg(i),
                     m.vsh.texts[static_cast<std::size_t>(member.slot + i)]);
            break;
        }
    }
}

} // namespace

int runDump(const QStringList& args) {
    auto line = parseCommandLine(args, {{QStringLiteral("--json"), {}, false}});
    if (!line)
        return report(line.failure());
    if (line->operands.size() != 1)
        return report(usageFailure(QStringLiteral("dump takes one file")));
    auto module = openPlainModule(line->operands.first());
    if (!module)
        return report(module.failure());
    if (line->has(QStringLiteral("--json")))
        printLine(jsonDocument(*module));
    else
        printText(*module);
    return kExitOk;
}

} // namespace qm::cli
