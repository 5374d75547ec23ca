#include "valueio.h"

#include "codecs.h"
#include "menu.h"
#include "module.h"
#include "rules.h"

namespace qm::prx {
namespace {

QString nameOf(ModuleKind kind, int member) {
    return QString(memberInfo(kind, member).name);
}

// The error about the value `name` at `offset`; an offset the error already
// names is the closer one and stays.
Error withMember(const Error& e, const QString& name, qint64 offset) {
    Error named = e.named(name);
    if (named.offset < 0)
        named.offset = offset;
    return named;
}

QString entryName(int k) {
    return QStringLiteral("MenuEntries[%1]").arg(k);
}

template <typename T> Result<Value> asValue(Result<T> r) {
    if (!r)
        return r.error();
    return Value(std::move(*r));
}

Result<Value> readMember(const ModuleImage& image, ReleaseId release, int member) {
    const qint64 at = offsetOf(release.kind, release.row, member);
    const MemberInfo info = memberInfo(release.kind, member);
    switch (info.shape) {
    case Shape::Single:
        return asValue(readSingle(image, at));
    case Shape::Integer:
        return asValue(readInteger(image, at));
    case Shape::Text:
        return asValue(readText(image, at));
    case Shape::Colours:
        return asValue(readColourBlock(image, at, info.elements()));
    case Shape::Formats:
        return asValue(readFormatStrings(image, at, release));
    case Shape::Menu: {
        MenuEntries entries;
        for (int k = 0; k < menuEntryCount(release); ++k) {
            auto e = readMenuEntry(image, at + kMenuEntryLength * k);
            if (!e)
                return withMember(e.error(), entryName(k), at + kMenuEntryLength * k);
            entries.append(*e);
        }
        return Value(std::move(entries));
    }
    }
    return Value();
}

// Writes one member's value, element by element for blocks: only the
// elements that differ from what was loaded.
Status writeMember(ModuleImage& image, ReleaseId release, int member, const Value& before,
                   const Value& after) {
    const qint64 at = offsetOf(release.kind, release.row, member);
    if (const auto* single = std::get_if<Single>(&after))
        return writeSingle(image, at, *single);
    if (const auto* integer = std::get_if<qint16>(&after))
        return writeInteger(image, at, *integer);
    if (const auto* text = std::get_if<QString>(&after))
        return writeText(image, at, *text, memberInfo(release.kind, member).textLimit());
    if (const auto* colours = std::get_if<ColourBlock>(&after)) {
        const auto& old = std::get<ColourBlock>(before);
        for (qsizetype i = 0; i < colours->size(); ++i)
            if (colours->at(i) != old.at(i))
                if (auto s = writeColour(image, at + kColourRecordLength * i, colours->at(i)); !s)
                    return s;
        return {};
    }
    if (const auto* entries = std::get_if<MenuEntries>(&after)) {
        const auto& old = std::get<MenuEntries>(before);
        for (qsizetype k = 0; k < entries->size(); ++k)
            if (entries->at(k) != old.at(k))
                if (auto s = writeMenuEntry(image, at + kMenuEntryLength * k, entries->at(k)); !s)
                    return withMember(s.error(), entryName(k), at + kMenuEntryLength * k);
        return {};
    }
    return {}; // the date and time formats are shown, never written
}

} // namespace

Result<ModuleValues> loadValues(const ModuleImage& image, ReleaseId release) {
    if (!release.isValid())
        return noReleaseRow(release.row);
    ModuleValues values(release);
    for (int m = 0; m < values.memberCount(); ++m) {
        if (!values.has(m))
            continue;
        auto v = readMember(image, release, m);
        if (!v)
            return withMember(v.error(), nameOf(release.kind, m), offsetOf(release.kind, release.row, m));
        values.setValue(m, std::move(*v));
    }
    return values;
}

Status patchValues(ModuleImage& image, const ModuleValues& loaded, ModuleValues edited) {
    if (loaded.release() != edited.release())
        return Error::of(ErrorKind::NotModule, errnum::SubscriptOutOfRange, Reason::OtherRelease);
    applyFollowing(edited);
    if (auto s = checkValues(edited); !s)
        return s.error();
    for (int m = 0; m < edited.memberCount(); ++m) {
        if (!edited.has(m) || edited.value(m) == loaded.value(m))
            continue;
        if (auto s = writeMember(image, edited.release(), m, loaded.value(m), edited.value(m)); !s)
            return withMember(s.error(), nameOf(edited.kind(), m),
                              offsetOf(edited.kind(), edited.release().row, m));
    }
    return {};
}

Result<ModuleImage> applyValues(ModuleImage image, const ModuleValues& loaded, ModuleValues edited) {
    // The image is a copy: an error leaves the caller's bytes alone.
    if (auto s = patchValues(image, loaded, std::move(edited)); !s)
        return s.error();
    return image;
}

Result<ModuleValues> readValuesFile(const QString& path, ReleaseId release) {
    auto image = readModule(path, release);
    if (!image)
        return image.error();
    return loadValues(*image, release);
}

Status saveValuesFile(const QString& source, const QString& dest, const ModuleValues& loaded,
                      const ModuleValues& edited, bool keepOriginal) {
    auto image = readModule(source, loaded.release());
    if (!image)
        return image.error();
    auto patched = applyValues(std::move(*image), loaded, edited);
    if (!patched)
        return patched.error();
    return writeModule(dest, *patched, keepOriginal);
}

} // namespace qm::prx
