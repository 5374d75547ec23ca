// set: change values given as NAME=VALUE, all in one save.

#include "args.h"
#include "backup.h"
#include "commands.h"
#include "looks/convert.h"
#include "plainmodule.h"
#include "prx/rules.h"
#include "text/errortext.h"

namespace qm::cli {
namespace {

struct Assignment {
    QString target; // the text before '=', for messages
    QString name;
    std::optional<int> index;
    std::optional<QString> field;
    QString value;
};

bool isNameChar(QChar c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}

// NAME=VALUE, NAME[i]=VALUE or NAME[i].field=VALUE.
Outcome<Assignment> parseAssignment(const QString& arg) {
    const qsizetype eq = arg.indexOf(u'=');
    const Failure malformed = usageFailure(
        QStringLiteral("%1: expected NAME=VALUE, NAME[INDEX]=VALUE or NAME[INDEX].FIELD=VALUE").arg(arg));
    if (eq <= 0)
        return malformed;
    Assignment a;
    a.target = arg.left(eq);
    a.value = arg.mid(eq + 1);
    const QStringView lhs(a.target);
    qsizetype i = 0;
    while (i < lhs.size() && isNameChar(lhs[i]))
        ++i;
    if (i == 0)
        return malformed;
    a.name = lhs.left(i).toString();
    if (i < lhs.size() && lhs[i] == u'[') {
        const qsizetype close = lhs.indexOf(u']', i);
        if (close < 0)
            return malformed;
        bool ok = false;
        const QStringView digits = lhs.sliced(i + 1, close - i - 1);
        const int index = digits.toInt(&ok);
        if (!ok || digits.isEmpty() || !digits.front().isDigit() || index < 0)
            return usageFailure(QStringLiteral("%1: %2 is not an index").arg(a.target, digits.toString()));
        a.index = index;
        i = close + 1;
    }
    if (i < lhs.size() && lhs[i] == u'.') {
        const qsizetype start = ++i;
        while (i < lhs.size() && isNameChar(lhs[i]))
            ++i;
        if (i == start)
            return malformed;
        a.field = lhs.sliced(start, i - start).toString();
    }
    if (i != lhs.size())
        return malformed;
    return a;
}

struct Target {
    Assignment assignment;
    MemberInfo member;
    MenuField field = MenuField::Category;
};

int mostMenuEntries() {
    int most = 0;
    for (int row = 1; row <= prx::kVshRows; ++row)
        most = std::max(most, prx::menuEntryCount(prx::ReleaseId{prx::ModuleKind::Vsh, row}));
    return most;
}

// Names, indices and fields: anything wrong here is a usage error.
Outcome<Target> resolve(const PlainModule& m, const Assignment& a) {
    const auto member = prx::findMember(m.kind(), a.name);
    if (!member)
        return usageFailure(QStringLiteral("%1: no value of that name in a %2 module (see dump)")
                                .arg(a.name, kindName(m.kind()).toString().toUpper()));
    Target t{a, *member};
    switch (member->shape) {
    case Shape::Single:
    case Shape::Integer:
    case Shape::Text:
        if (a.index || a.field)
            return usageFailure(
                QStringLiteral("%1: %2 takes neither an index nor a field").arg(a.target, a.name));
        return t;
    case Shape::Colours:
    case Shape::Formats:
        if (!a.index || *a.index >= member->elements() || a.field)
            return usageFailure(QStringLiteral("%1: name one element, %2[0] to %2[%3]")
                                    .arg(a.target, a.name)
                                    .arg(member->elements() - 1));
        return t;
    case Shape::Menu: {
        const int rows = present(m.values(), *member) ? prx::menuEntryCount(m.release()) : mostMenuEntries();
        if (!a.index || *a.index >= rows || !a.field)
            return usageFailure(
                QStringLiteral("%1: name one field of one entry, %2[0] to %2[%3] with .category, "
                               ".icon, .region or .enabled")
                    .arg(a.target, a.name)
                    .arg(rows - 1));
        if (*a.field == u"order")
            return usageFailure(QStringLiteral("%1: the order follows the icon; set %2[%3].icon instead")
                                    .arg(a.target, a.name)
                                    .arg(*a.index));
        const auto field = menuFieldByName(*a.field);
        if (!field)
            return usageFailure(QStringLiteral("%1: unknown menu field %2 (category, icon, region, enabled)")
                                    .arg(a.target, *a.field));
        t.field = *field;
        return t;
    }
    }
    return t;
}

// A value refused: its name first, then why.
Failure refused(const Error& error) {
    return valueFailure(text::refusalText(error));
}

// The value itself, put into the document: anything wrong here is refused
// with exit code 3.
Problem assign(doc::ModuleDocument& document, const QString& label, const Target& t, QStringList& notes) {
    const MemberInfo& member = t.member;
    const ModuleValues& values = document.values();
    const QString& where = t.assignment.target;
    const QString& given = t.assignment.value;
    if (!present(values, member))
        return valueFailure(QStringLiteral("%1: %2 has no %3").arg(where, label, member.name));
    if (const auto followed = prx::followedMember(values.release(), member.index))
        return valueFailure(QStringLiteral("%1: in %2 it follows %3 (saved as %3 + 1); set %3 instead")
                                .arg(where, label, prx::memberInfo(member.kind, *followed).name));
    switch (member.shape) {
    case Shape::Single: {
        auto value = singleFromText(given, where, std::get<prx::Single>(values.value(member.index)));
        if (!value)
            return refused(value.error());
        document.setValue(member.index, *value);
        return std::nullopt;
    }
    case Shape::Integer: {
        auto value = bmpSizeFromText(given, where);
        if (!value)
            return refused(value.error());
        document.setValue(member.index, *value);
        return std::nullopt;
    }
    case Shape::Text: {
        if (auto s = checkModuleText(given, where); !s)
            return refused(s.error());
        if (auto n = textStorageNote(where, given, member.textLimit()))
            notes.append(*n);
        document.setValue(member.index, given);
        return std::nullopt;
    }
    case Shape::Colours: {
        auto rgb = colourFromText(given, where);
        if (!rgb)
            return refused(rgb.error());
        prx::ColourBlock colours = values.colours(member.vsh());
        const auto i = static_cast<qsizetype>(*t.assignment.index);
        if (colours.at(i).rgb() != *rgb)
            colours[i] = prx::Colour::fromRgb(*rgb);
        document.setValue(member.index, colours);
        return std::nullopt;
    }
    case Shape::Formats:
        return valueFailure(
            QStringLiteral("%1: the date and time formats are shown but never written").arg(where));
    case Shape::Menu: {
        prx::MenuEntries entries = values.menu();
        if (auto s = setMenuField(entries[*t.assignment.index], values.release(), t.field, given, where); !s)
            return refused(s.error());
        document.setValue(member.index, entries);
        return std::nullopt;
    }
    }
    return std::nullopt;
}

// What `step` makes of each input, in order; its failures are added to `failures`.
template <typename T, typename In, typename Step>
QList<T> eachOf(const QList<In>& inputs, QList<Failure>& failures, Step step) {
    QList<T> made;
    for (const In& input : inputs) {
        Outcome<T> outcome = step(input);
        if (outcome)
            made.append(*outcome);
        else
            failures.append(outcome.error());
    }
    return made;
}

} // namespace

int runSet(const QStringList& args) {
    auto line = parseWritingCommand(args, 2, args.size(),
                                    QStringLiteral("set needs a file and at least one NAME=VALUE"));
    if (!line)
        return report(line.error());
    const QString out = line->value(QStringLiteral("-o"));

    QList<Failure> failures;
    const QList<Assignment> assignments = eachOf<Assignment>(
        line->operands.mid(1), failures, [](const QString& arg) { return parseAssignment(arg); });
    if (!failures.isEmpty())
        return reportAll(failures);

    auto module = openPlainModule(line->operands.first());
    if (!module)
        return report(module.error());

    const QList<Target> targets =
        eachOf<Target>(assignments, failures, [&](const Assignment& a) { return resolve(*module, a); });
    if (!failures.isEmpty())
        return reportAll(failures);

    // Every value goes into the document; a refusal leaves the file unwritten.
    QStringList notes;
    for (const Target& t : std::as_const(targets))
        if (auto p = assign(*module->document, module->label, t, notes))
            failures.append(*p);
    if (!failures.isEmpty()) {
        failures.append(valueFailure(QStringLiteral("nothing written")));
        return reportAll(failures);
    }
    if (auto p = saveEdits(*module, out.isEmpty() ? module->path : out, notes, line->has(kBackupOption.name)))
        return report(*p);
    return kExitOk;
}

} // namespace qm::cli
