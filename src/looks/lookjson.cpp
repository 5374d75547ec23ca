// Writing a look: the values of a module, by member name.

#include "json.h"
#include "look.h"
#include "prx/codecs.h"

namespace qm::looks {
namespace {

constexpr std::array<const char*, 5> kMenuRowFields{"order", "category", "icon", "region", "enabled"};

const QString& menuRowField(const prx::MenuRow& row, std::size_t field) {
    const std::array<const QString*, 5> texts{&row.order, &row.category, &row.icon, &row.region,
                                              &row.enabled};
    return *texts[field];
}

void writeValue(JsonWriter& w, const ModuleValues& m, const Member& member) {
    switch (member.shape) {
    case Shape::Single:
    case Shape::Integer:
        w.moduleNumber(numberText(m, member));
        return;
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
        for (const prx::MenuRow& row : m.vsh.menu) {
            w.beginObject();
            for (std::size_t f = 0; f < kMenuRowFields.size(); ++f) {
                w.key(QString(QLatin1StringView(kMenuRowFields[f])));
                w.string(menuRowField(row, f));
            }
            w.endObject();
        }
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

} // namespace

QList<ShownValue> shownValues(const ModuleValues& m, const Member& member) {
    QList<ShownValue> out;
    if (!present(m, member))
        return out;
    const auto element = [&](int i) { return QStringLiteral("%1[%2]").arg(member.name).arg(i); };
    switch (member.shape) {
    case Shape::Single:
    case Shape::Integer:
        out.append({member.name, numberText(m, member), true});
        break;
    case Shape::Text:
        out.append({member.name, m.vsh.texts[static_cast<std::size_t>(member.slot)]});
        break;
    case Shape::Colors: {
        int i = 0;
        for (prx::Rgb c : colours(m.vsh, member)) {
            out.append({element(i), prx::rgbToHex(c), false, i});
            ++i;
        }
        break;
    }
    case Shape::Menu:
        for (int k = 0; k < static_cast<int>(m.vsh.menu.size()); ++k)
            for (std::size_t f = 0; f < kMenuRowFields.size(); ++f)
                out.append({element(k) + u'.' + QLatin1StringView(kMenuRowFields[f]),
                            menuRowField(m.vsh.menu.at(k), f), false, k});
        break;
    case Shape::Formats:
        for (int i = 0; i < member.count; ++i)
            out.append({element(i), m.vsh.texts[static_cast<std::size_t>(member.slot + i)], false, i});
        break;
    }
    return out;
}

QString lookJson(const ModuleValues& m, const QString& path) {
    JsonWriter w;
    w.beginObject();
    w.key(u"path");
    w.string(path);
    w.key(u"kind");
    w.string(QString(kindName(m.kind)));
    w.key(u"version");
    w.integer(m.version);
    w.key(u"label");
    w.string(releaseLabel(m));
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

QByteArray lookFile(const ModuleValues& values, const QString& path) {
    return lookJson(values, path).toUtf8() + '\n';
}

} // namespace qm::looks
