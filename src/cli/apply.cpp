// apply: carry the values of a dump onto a module, also one of another
// release. Values equal to the module's are left alone, so their bytes stay.

#include "args.h"
#include "commands.h"
#include "convert.h"
#include "members.h"
#include "plainmodule.h"
#include "prx/codecs.h"
#include "prx/fileio.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace qm::cli {
namespace {

constexpr qint64 kMaxValuesFile = qint64(16) * 1024 * 1024;

// The text a JSON number or string stands for; the failure names the expected type.
Outcome<QString> scalarText(const QJsonValue& v, const QString& name, const QString& expected) {
    if (v.isString())
        return v.toString();
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (std::floor(d) == d && std::fabs(d) < 1e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', 17);
    }
    return valueFailure(QStringLiteral("%1: expected %2").arg(name, expected));
}

// A Single given as a JSON number, or as a text ("NaN", "Infinity", "1,5").
Outcome<QString> singleFromJson(const QJsonValue& v, const QString& current, const QString& name) {
    if (v.isDouble())
        return singleFromDouble(v.toDouble(), name);
    if (!v.isString())
        return valueFailure(QStringLiteral("%1: expected a number").arg(name));
    if (v.toString() == current)
        return current;
    return singleFromText(v.toString(), name);
}

class Applier {
public:
    explicit Applier(const PlainModule& loaded) : m_loaded(loaded), m_edited(loaded) {}

    void apply(const QJsonObject& values) {
        for (const Member& member : allMembers(m_loaded.kind)) {
            if (!values.contains(member.name))
                continue;
            if (!present(m_loaded, member)) {
                note(QStringLiteral("%1: %2 has no %1, skipped").arg(member.name, m_loaded.label));
                continue;
            }
            applyMember(member, values.value(member.name));
        }
        for (auto it = values.begin(); it != values.end(); ++it)
            if (!findMember(m_loaded.kind, it.key()))
                note(QStringLiteral("%1: no value of that name in a %2 module, skipped")
                         .arg(it.key(), kindName(m_loaded.kind).toString().toUpper()));
    }

    const PlainModule& edited() const { return m_edited; }
    const QList<Failure>& refused() const { return m_refused; }
    const QStringList& notes() const { return m_notes; }

private:
    void refuse(const Failure& f) { m_refused.append(f); }

    void applyMember(const Member& member, const QJsonValue& v) {
        switch (member.shape) {
        case Shape::Single:
            applySingle(member, v);
            return;
        case Shape::Integer:
            applyInteger(member, v);
            return;
        case Shape::Text:
            applyText(member, v);
            return;
        case Shape::Colors:
            applyColours(member, v);
            return;
        case Shape::Menu:
            applyMenu(member, v);
            return;
        case Shape::Formats:
            checkFormats(member, v);
            return;
        }
    }

    void applySingle(const Member& member, const QJsonValue& v) {
        const QString& current = numberText(m_loaded, member);
        const Outcome<QString> text = singleFromJson(v, current, member.name);
        if (followsMainIcon(m_loaded, member)) {
            if (!text || *text != current)
                note(QStringLiteral(
                         "%1: skipped, in %2 it follows MainIconYUnfocused (saved as MainIconYUnfocused + 1)")
                         .arg(member.name, m_loaded.label));
            return;
        }
        if (!text)
            return refuse(text.failure());
        // QJsonDocument reads -0.0 as 0: a zero of either sign equals a zero.
        const auto isZero = [](const QString& t) { return t == u"0" || t == u"-0"; };
        if (*text != current && !(isZero(*text) && isZero(current)))
            numberText(m_edited, member) = *text;
    }

    void applyInteger(const Member& member, const QJsonValue& v) {
        const QString& current = numberText(m_loaded, member);
        auto given = scalarText(v, member.name, QStringLiteral("a whole number"));
        if (!given)
            return refuse(given.failure());
        if (*given == current)
            return;
        auto text = bmpSizeFromText(*given, member.name);
        if (!text)
            return refuse(text.failure());
        // QJsonDocument reads -0.0 as 0: a zero of either sign equals a zero.
        const auto isZero = [](const QString& t) { return t == u"0" || t == u"-0"; };
        if (*text != current && !(isZero(*text) && isZero(current)))
            numberText(m_edited, member) = *text;
    }

    void applyText(const Member& member, const QJsonValue& v) {
        const auto i = static_cast<std::size_t>(member.slot);
        if (!v.isString())
            return refuse(valueFailure(QStringLiteral("%1: expected a text").arg(member.name)));
        const QString text = v.toString();
        if (text == m_loaded.vsh.texts[i])
            return;
        if (auto p = checkModuleText(text, member.name))
            return refuse(*p);
        if (auto n = textStorageNote(member.name, text, prx::kVshTextMaxLength[i]))
            m_notes.append(*n);
        m_edited.vsh.texts[i] = text;
    }

    void applyColours(const Member& member, const QJsonValue& v) {
        if (!v.isArray())
            return refuse(
                valueFailure(QStringLiteral("%1: expected a list of #RRGGBB colours").arg(member.name)));
        const QJsonArray list = v.toArray();
        const auto current = colours(m_loaded.vsh, member);
        const auto target = colours(m_edited.vsh, member);
        const qsizetype n = std::min<qsizetype>(list.size(), static_cast<qsizetype>(current.size()));
        if (list.size() != static_cast<qsizetype>(current.size()))
            note(QStringLiteral("%1: %2 colours given, the module has %3; the first %4 applied")
                     .arg(member.name)
                     .arg(list.size())
                     .arg(current.size())
                     .arg(n));
        for (qsizetype i = 0; i < n; ++i) {
            const QString name = QStringLiteral("%1[%2]").arg(member.name).arg(i);
            if (!list.at(i).isString()) {
                refuse(valueFailure(QStringLiteral("%1: expected a colour #RRGGBB").arg(name)));
                continue;
            }
            auto rgb = colourFromText(list.at(i).toString(), name);
            if (!rgb)
                refuse(rgb.failure());
            else if (*rgb != current[static_cast<std::size_t>(i)])
                target[static_cast<std::size_t>(i)] = *rgb;
        }
    }

    void applyMenu(const Member& member, const QJsonValue& v) {
        if (!v.isArray())
            return refuse(
                valueFailure(QStringLiteral("%1: expected a list of menu entries").arg(member.name)));
        const QJsonArray rows = v.toArray();
        const qsizetype n = std::min(rows.size(), m_loaded.vsh.menu.size());
        if (rows.size() != m_loaded.vsh.menu.size())
            note(QStringLiteral("%1: %2 entries given, the module has %3; the first %4 applied")
                     .arg(member.name)
                     .arg(rows.size())
                     .arg(m_loaded.vsh.menu.size())
                     .arg(n));
        for (qsizetype k = 0; k < n; ++k) {
            const QString name = QStringLiteral("%1[%2]").arg(member.name).arg(k);
            if (!rows.at(k).isObject()) {
                refuse(valueFailure(QStringLiteral("%1: expected an object").arg(name)));
                continue;
            }
            applyMenuRow(rows.at(k).toObject(), m_loaded.vsh.menu.at(k), m_edited.vsh.menu[k], name);
        }
    }

    void applyMenuRow(const QJsonObject& given, const prx::MenuRow& before, prx::MenuRow& row,
                      const QString& name) {
        const prx::MenuFormat format = *prx::menuFormat(m_loaded.version);
        const auto fieldText = [&](const char* field) -> std::optional<QString> {
            const QString key = QLatin1StringView(field);
            if (!given.contains(key))
                return std::nullopt;
            auto text = scalarText(given.value(key), name + u'.' + key, QStringLiteral("a text"));
            if (!text) {
                refuse(text.failure());
                return std::nullopt;
            }
            return *text;
        };
        const auto setIfChanged = [&](MenuField field, const QString& current) {
            const auto text = fieldText(kMenuFieldNames[static_cast<std::size_t>(field)]);
            if (!text || *text == current)
                return false;
            const QString where =
                name + u'.' + QLatin1StringView(kMenuFieldNames[static_cast<std::size_t>(field)]);
            if (auto p = setMenuField(row, format, field, *text, where)) {
                refuse(*p);
                return false;
            }
            return true;
        };
        setIfChanged(MenuField::Category, before.category);
        setIfChanged(MenuField::Region, before.region);
        setIfChanged(MenuField::Enabled, before.enabled);

        // An icon of the module's list sets the order, as the icon combo
        // does; any other icon (another release's, "ERROR") leaves it to the order.
        bool iconSet = false;
        if (const auto icon = fieldText("icon"); icon && *icon != before.icon)
            if (choiceFrom(prx::menuIcons(format), *icon, name))
                iconSet = !setMenuField(row, format, MenuField::Icon, *icon, name + QStringLiteral(".icon"));
        if (iconSet)
            return;
        if (const auto order = fieldText("order"); order && *order != before.order)
            if (auto p = setMenuOrder(row, format, *order, name + QStringLiteral(".order")))
                refuse(*p);
    }

    void checkFormats(const Member& member, const QJsonValue& v) {
        const QJsonArray list = v.toArray();
        bool differs = !v.isArray() || list.size() != member.count;
        for (qsizetype i = 0; !differs && i < list.size(); ++i)
            differs = list.at(i).toString() != m_loaded.vsh.texts[static_cast<std::size_t>(member.slot + i)];
        if (differs)
            note(QStringLiteral("%1: passed over, the date and time formats are never written")
                     .arg(member.name));
    }

    const PlainModule& m_loaded;
    PlainModule m_edited;
    QList<Failure> m_refused;
    QStringList m_notes; // how values are stored, printed after the save
};

// The values of a dump document, or the document itself when it holds only values.
Outcome<QJsonObject> readValues(const QString& path, const PlainModule& target) {
    auto bytes = prx::readWholeFile(path, kMaxValuesFile);
    if (!bytes)
        return failureFrom(bytes.error());
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(*bytes, &error);
    if (error.error != QJsonParseError::NoError)
        return fileFailure(QStringLiteral("%1: not a JSON document: %2 at offset %3")
                               .arg(path, error.errorString())
                               .arg(error.offset));
    if (!doc.isObject())
        return fileFailure(QStringLiteral("%1: expected a JSON object (a dump, or its values)").arg(path));
    const QJsonObject top = doc.object();
    if (!top.value(QStringLiteral("values")).isObject())
        return top;
    if (top.contains(QStringLiteral("kind"))) {
        const QString kind = top.value(QStringLiteral("kind")).toString();
        if (kind != kindName(target.kind))
            return fileFailure(QStringLiteral("%1 holds the values of a %2 module; %3 is a %4 module")
                                   .arg(path, kind.isEmpty() ? QStringLiteral("?") : kind.toUpper(),
                                        target.path, kindName(target.kind).toString().toUpper()));
    }
    return top.value(QStringLiteral("values")).toObject();
}

} // namespace

int runApply(const QStringList& args) {
    auto line = parseCommandLine(args, {{QStringLiteral("-o"), {QStringLiteral("--output")}, true}});
    if (!line)
        return report(line.failure());
    if (line->operands.size() != 2)
        return report(usageFailure(QStringLiteral("apply takes a module and a values file")));
    const QString out = line->value(QStringLiteral("-o"));
    if (line->has(QStringLiteral("-o")) && out.isEmpty())
        return report(usageFailure(QStringLiteral("-o needs a file name")));

    auto loaded = openPlainModule(line->operands.at(0));
    if (!loaded)
        return report(loaded.failure());
    auto values = readValues(line->operands.at(1), *loaded);
    if (!values)
        return report(values.failure());

    Applier applier(*loaded);
    applier.apply(*values);
    if (!applier.refused().isEmpty()) {
        QList<Failure> failures = applier.refused();
        failures.append(valueFailure(QStringLiteral("nothing written")));
        return reportAll(failures);
    }
    if (auto p = saveEdits(*loaded, applier.edited(), out.isEmpty() ? loaded->path : out, applier.notes()))
        return report(*p);
    return kExitOk;
}

} // namespace qm::cli
