// Writing a look: the values of a module, by member name.

#include "json.h"
#include "look.h"
#include "menunames.h"
#include "prx/codecs.h"

namespace qm::looks {
namespace {

constexpr std::array<const char*, 5> kMenuRowFields{"order", "category", "icon", "region", "enabled"};

std::array<QString, 5> rowFields(const prx::MenuEntry& entry, prx::ReleaseId release) {
    MenuTexts t = menuTexts(entry, release);
    return {std::move(t.order), std::move(t.category), std::move(t.icon), std::move(t.region),
            std::move(t.enabled)};
}

void writeValue(JsonWriter& w, const ModuleValues& m, const MemberInfo& member) {
    switch (member.shape) {
    case Shape::Single:
    case Shape::Integer:
        w.moduleNumber(numberText(m, member));
        return;
    case Shape::Text:
        w.string(m.text(member.vsh()));
        return;
    case Shape::Colours:
        w.beginArray();
        for (const prx::Colour& c : m.colours(member.vsh()))
            w.string(prx::rgbToHex(c.rgb()));
        w.endArray();
        return;
    case Shape::Menu:
        w.beginArray();
        for (const prx::MenuEntry& entry : m.menu()) {
            w.beginObject();
            const auto fields = rowFields(entry, m.release());
            for (std::size_t f = 0; f < kMenuRowFields.size(); ++f) {
                w.key(QString(QLatin1StringView(kMenuRowFields[f])));
                w.string(fields[f]);
            }
            w.endObject();
        }
        w.endArray();
        return;
    case Shape::Formats:
        w.beginArray();
        for (const QString& text : m.formats(member.vsh()))
            w.string(text);
        w.endArray();
        return;
    }
}

} // namespace

QList<ShownValue> shownValues(const ModuleValues& m, const MemberInfo& member) {
    QList<ShownValue> out;
    if (!present(m, member))
        return out;
    const auto element = [&](qsizetype i) { return QStringLiteral("%1[%2]").arg(member.name).arg(i); };
    switch (member.shape) {
    case Shape::Single:
    case Shape::Integer:
        out.append({member.name, numberText(m, member), true});
        break;
    case Shape::Text:
        out.append({member.name, m.text(member.vsh())});
        break;
    case Shape::Colours: {
        const prx::ColourBlock& colours = m.colours(member.vsh());
        for (qsizetype i = 0; i < colours.size(); ++i)
            out.append({element(i), prx::rgbToHex(colours.at(i).rgb()), false, static_cast<int>(i)});
        break;
    }
    case Shape::Menu: {
        const prx::MenuEntries& entries = m.menu();
        for (qsizetype k = 0; k < entries.size(); ++k) {
            const auto fields = rowFields(entries.at(k), m.release());
            for (std::size_t f = 0; f < kMenuRowFields.size(); ++f)
                out.append({element(k) + u'.' + QLatin1StringView(kMenuRowFields[f]), fields[f], false,
                            static_cast<int>(k)});
        }
        break;
    }
    case Shape::Formats: {
        const prx::FormatStrings& formats = m.formats(member.vsh());
        for (std::size_t i = 0; i < formats.size(); ++i)
            out.append({element(static_cast<qsizetype>(i)), formats[i], false, static_cast<int>(i)});
        break;
    }
    }
    return out;
}

QString lookJson(const ModuleValues& m, const QString& path) {
    JsonWriter w;
    w.beginObject();
    w.key(u"path");
    w.string(path);
    w.key(u"kind");
    w.string(QString(kindName(m.kind())));
    w.key(u"version");
    w.integer(m.release().row);
    w.key(u"label");
    w.string(releaseLabel(m));
    w.key(u"values");
    w.beginObject();
    for (const MemberInfo& member : prx::members(m.kind())) {
        if (!present(m, member))
            continue;
        w.key(QString(member.name));
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
