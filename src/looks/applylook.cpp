// Reading a look and carrying its values onto a module, also one of another
// release. Values equal to the module's are left alone, so their bytes stay.

#include "convert.h"
#include "look.h"
#include "menunames.h"
#include "prx/menu.h"
#include "prx/rules.h"
#include "text/errortext.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>
#include <cmath>

namespace qm::looks {
namespace {

// The text a JSON number or string stands for; the refusal names the expected type.
Result<QString> scalarText(const QJsonValue& v, const QString& name, const QString& expected) {
    if (v.isString())
        return v.toString();
    if (v.isDouble()) {
        const double d = v.toDouble();
        if (std::floor(d) == d && std::fabs(d) < 1e15)
            return QString::number(static_cast<qint64>(d));
        return QString::number(d, 'g', 17);
    }
    return refusal(QStringLiteral("%1: expected %2").arg(name, expected));
}

// A Single given as a JSON number, or as a text ("NaN", "Infinity", "1,5").
Result<prx::Single> singleFromJson(const QJsonValue& v, prx::Single current, const QString& name) {
    if (v.isDouble())
        return singleFromDouble(v.toDouble(), name);
    if (!v.isString())
        return refusal(QStringLiteral("%1: expected a number").arg(name));
    return singleFromText(v.toString(), name, current);
}

// QJsonDocument reads -0.0 as 0: a zero of either sign equals a zero.
bool sameNumber(prx::Single a, prx::Single b) {
    return a == b || (a.toFloat() == 0.0f && b.toFloat() == 0.0f);
}

class Applier {
public:
    explicit Applier(const ModuleValues& loaded) : m_loaded(loaded), m_label(releaseLabel(loaded)) {
        m_out.values = loaded;
    }

    LookApplied apply(const QJsonObject& values) && {
        for (const MemberInfo& member : prx::members(m_loaded.kind())) {
            if (!values.contains(member.name))
                continue;
            if (!present(m_loaded, member)) {
                skip(QStringLiteral("%1: %2 has no %1, skipped").arg(member.name, m_label));
                continue;
            }
            applyMember(member, values.value(member.name));
        }
        for (auto it = values.begin(); it != values.end(); ++it)
            if (!prx::findMember(m_loaded.kind(), it.key()))
                skip(QStringLiteral("%1: no value of that name in a %2 module, skipped")
                         .arg(it.key(), kindName(m_loaded.kind()).toString().toUpper()));
        if (!m_out.refused.isEmpty())
            m_out.values = m_loaded;
        return std::move(m_out);
    }

private:
    void skip(const QString& message) { m_out.skipped.append(message); }
    void refuse(const Error& e) { m_out.refused.append(text::refusalText(e)); }
    void set(const MemberInfo& member, prx::Value v) { m_out.values.setValue(member.index, std::move(v)); }

    void applyMember(const MemberInfo& member, const QJsonValue& v) {
        // By the order of Shape.
        using Apply = void (Applier::*)(const MemberInfo&, const QJsonValue&);
        static constexpr std::array<Apply, 6> kByShape{&Applier::applySingle, &Applier::applyInteger,
                                                       &Applier::applyText,   &Applier::applyColours,
                                                       &Applier::applyMenu,   &Applier::checkFormats};
        (this->*kByShape[static_cast<std::size_t>(member.shape)])(member, v);
    }

    void applySingle(const MemberInfo& member, const QJsonValue& v) {
        const prx::Single current = std::get<prx::Single>(m_loaded.value(member.index));
        const Result<prx::Single> value = singleFromJson(v, current, member.name);
        if (const auto followed = prx::followedMember(m_loaded.release(), member.index)) {
            if (!value || *value != current)
                skip(QStringLiteral("%1: skipped, in %2 it follows %3 (saved as %3 + 1)")
                         .arg(member.name, m_label, prx::memberInfo(member.kind, *followed).name));
            return;
        }
        if (!value)
            return refuse(value.error());
        if (!sameNumber(*value, current))
            set(member, *value);
    }

    void applyInteger(const MemberInfo& member, const QJsonValue& v) {
        const qint16 current = m_loaded.integer(member.vsh());
        auto given = scalarText(v, member.name, QStringLiteral("a whole number"));
        if (!given)
            return refuse(given.error());
        if (*given == QString::number(current))
            return;
        auto value = bmpSizeFromText(*given, member.name);
        if (!value)
            return refuse(value.error());
        if (*value != current)
            set(member, *value);
    }

    void applyText(const MemberInfo& member, const QJsonValue& v) {
        if (!v.isString())
            return refuse(refusal(QStringLiteral("%1: expected a text").arg(member.name)));
        const QString text = v.toString();
        if (text == m_loaded.text(member.vsh()))
            return;
        if (auto s = checkModuleText(text, member.name); !s)
            return refuse(s.error());
        if (auto n = textStorageNote(member.name, text, member.textLimit()))
            m_out.notes.append(*n);
        set(member, text);
    }

    // The first elements of a block, when a look gives another number of them.
    qsizetype commonLength(const MemberInfo& member, qsizetype given, qsizetype has, const char* what) {
        if (given != has)
            skip(QStringLiteral("%1: %2 %3 given, the module has %4; the first %5 applied")
                     .arg(member.name)
                     .arg(given)
                     .arg(QLatin1StringView(what))
                     .arg(has)
                     .arg(std::min(given, has)));
        return std::min(given, has);
    }

    void applyColours(const MemberInfo& member, const QJsonValue& v) {
        if (!v.isArray())
            return refuse(refusal(QStringLiteral("%1: expected a list of #RRGGBB colours").arg(member.name)));
        const QJsonArray list = v.toArray();
        const prx::ColourBlock& current = m_loaded.colours(member.vsh());
        prx::ColourBlock colours = current;
        const qsizetype n = commonLength(member, list.size(), current.size(), "colours");
        for (qsizetype i = 0; i < n; ++i) {
            const QString name = QStringLiteral("%1[%2]").arg(member.name).arg(i);
            if (!list.at(i).isString()) {
                refuse(refusal(QStringLiteral("%1: expected a colour #RRGGBB").arg(name)));
                continue;
            }
            auto rgb = colourFromText(list.at(i).toString(), name);
            if (!rgb)
                refuse(rgb.error());
            else if (*rgb != current.at(i).rgb())
                colours[i] = prx::Colour::fromRgb(*rgb);
        }
        if (colours != current)
            set(member, colours);
    }

    void applyMenu(const MemberInfo& member, const QJsonValue& v) {
        if (!v.isArray())
            return refuse(refusal(QStringLiteral("%1: expected a list of menu entries").arg(member.name)));
        const QJsonArray rows = v.toArray();
        const prx::MenuEntries& current = m_loaded.menu();
        prx::MenuEntries entries = current;
        const qsizetype n = commonLength(member, rows.size(), current.size(), "entries");
        for (qsizetype k = 0; k < n; ++k) {
            const QString name = QStringLiteral("%1[%2]").arg(member.name).arg(k);
            if (!rows.at(k).isObject()) {
                refuse(refusal(QStringLiteral("%1: expected an object").arg(name)));
                continue;
            }
            applyMenuRow(rows.at(k).toObject(), current.at(k), entries[k], name);
        }
        if (entries != current)
            set(member, entries);
    }

    void applyMenuRow(const QJsonObject& given, const prx::MenuEntry& before, prx::MenuEntry& entry,
                      const QString& name) {
        const prx::ReleaseId release = m_loaded.release();
        const prx::MenuFormat format = *prx::menuFormat(release);
        const MenuTexts shown = menuTexts(before, release);
        if (shownAsError(given, shown)) {
            skip(QStringLiteral("%1: kept as it is, the look shows ERROR (a code it can't name)").arg(name));
            return;
        }
        const auto fieldText = [&](const char* field) -> std::optional<QString> {
            const QString key = QLatin1StringView(field);
            if (!given.contains(key))
                return std::nullopt;
            auto text = scalarText(given.value(key), name + u'.' + key, QStringLiteral("a text"));
            if (!text) {
                refuse(text.error());
                return std::nullopt;
            }
            return *text;
        };
        const auto setIfChanged = [&](MenuField field, const QString& current) {
            const char* fieldName = kMenuFieldNames[static_cast<std::size_t>(field)];
            const auto text = fieldText(fieldName);
            if (!text || *text == current)
                return;
            if (auto s =
                    setMenuField(entry, release, field, *text, name + u'.' + QLatin1StringView(fieldName));
                !s)
                refuse(s.error());
        };
        setIfChanged(MenuField::Category, shown.category);
        setIfChanged(MenuField::Region, shown.region);
        setIfChanged(MenuField::Enabled, shown.enabled);

        // An icon of the module's list sets the order, as the icon combo
        // does, and then the look's order is not looked at, also when the
        // icon is the entry's already: the result depends on the look alone,
        // so carrying it again changes nothing. Any other icon (another
        // release's, "ERROR") leaves it to the order.
        if (const auto icon = fieldText("icon"); icon && choiceFrom(iconNames(format), *icon, name)) {
            if (*icon != shown.icon)
                if (auto s =
                        setMenuField(entry, release, MenuField::Icon, *icon, name + QStringLiteral(".icon"));
                    !s)
                    refuse(s.error());
            return;
        }
        if (const auto order = fieldText("order"); order && *order != shown.order)
            if (auto s = setMenuOrder(entry, *order, name + QStringLiteral(".order")); !s)
                refuse(s.error());
    }

    // A row the look shows with "ERROR" (a code its release can't name) in a
    // field the target names is kept as the target has it. The icon is not
    // looked at: without a name the order stands for it.
    static bool shownAsError(const QJsonObject& given, const MenuTexts& shown) {
        const std::array<std::pair<const char*, const QString*>, 3> fields{
            {{"category", &shown.category}, {"region", &shown.region}, {"enabled", &shown.enabled}}};
        for (const auto& [key, current] : fields)
            if (given.value(QLatin1StringView(key)).toString() == kMenuError && *current != kMenuError)
                return true;
        return false;
    }

    void checkFormats(const MemberInfo& member, const QJsonValue& v) {
        const QJsonArray list = v.toArray();
        const prx::FormatStrings& formats = m_loaded.formats(member.vsh());
        bool differs = !v.isArray() || list.size() != member.elements();
        for (qsizetype i = 0; !differs && i < list.size(); ++i)
            differs = list.at(i).toString() != formats[static_cast<std::size_t>(i)];
        if (differs)
            skip(QStringLiteral("%1: passed over, the date and time formats are never written")
                     .arg(member.name));
    }

    const ModuleValues& m_loaded;
    const QString m_label;
    LookApplied m_out;
};

} // namespace

LookValues readLook(const QByteArray& json, prx::ModuleKind kind) {
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return {LookError{LookError::Kind::NotJson, error.errorString(), error.offset, {}}, {}};
    if (!doc.isObject())
        return {LookError{LookError::Kind::NotObject, {}, 0, {}}, {}};
    const QJsonObject top = doc.object();
    if (!top.value(QStringLiteral("values")).isObject())
        return {std::nullopt, top};
    if (top.contains(QStringLiteral("kind"))) {
        const QString named = top.value(QStringLiteral("kind")).toString();
        if (named != kindName(kind))
            return {LookError{LookError::Kind::OtherKind, {}, 0, named}, {}};
    }
    return {std::nullopt, top.value(QStringLiteral("values")).toObject()};
}

LookApplied applyLook(const QJsonObject& values, const ModuleValues& target) {
    return Applier(target).apply(values);
}

QString lookErrorText(const LookError& error, const QString& lookPath, prx::ModuleKind targetKind,
                      const QString& target) {
    switch (error.kind) {
    case LookError::Kind::NotJson:
        return QStringLiteral("%1: not a JSON document: %2 at offset %3")
            .arg(lookPath, error.parserMessage)
            .arg(error.offset);
    case LookError::Kind::NotObject:
        break;
    case LookError::Kind::OtherKind:
        return QStringLiteral("%1 holds the values of a %2 module; %3 is a %4 module")
            .arg(lookPath, error.lookKind.isEmpty() ? QStringLiteral("?") : error.lookKind.toUpper(), target,
                 kindName(targetKind).toString().toUpper());
    }
    return QStringLiteral("%1: expected a JSON object (a dump, or its values)").arg(lookPath);
}

} // namespace qm::looks
