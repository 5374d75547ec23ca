#include "ptfbase.h"

#include "looks/json.h"
#include "prx/fileio.h"
#include "theme/make.h"

namespace qm::cli {
namespace {

constexpr qint64 kMaxPtfFile = qint64(160) * 1024 * 1024;

QString titled(const PtfFile& ptf) {
    return ptf.title.isEmpty() ? QString() : QStringLiteral(" \"%1\"").arg(ptf.title);
}

} // namespace

std::optional<PtfFile> ptfBase(const QString& path) {
    auto head = prx::readFileHead(path, theme::kPtfHeaderLength);
    if (!head || !head->bytes.startsWith(theme::kPtfSignature) || theme::looksLikeTheme(head->bytes))
        return std::nullopt;
    PtfFile ptf{QString(), head->size};
    if (auto bytes = prx::readWholeFile(path, kMaxPtfFile))
        if (auto base = theme::readPtfBase(*bytes))
            ptf.title = base->title;
    return ptf;
}

QString ptfIdentifyLine(const QString& path, const PtfFile& ptf, bool json) {
    if (!json)
        return QStringLiteral("%1: PTF theme file%2 (%3 bytes), a theme base: make a CXMB theme of it with "
                              "quillmark-cli theme OUT.ctf --ptf %1")
            .arg(path, titled(ptf))
            .arg(ptf.size);
    looks::JsonWriter w;
    w.beginObject();
    w.key(u"path");
    w.string(path);
    w.key(u"size");
    w.integer(ptf.size);
    w.key(u"kind");
    w.string(u"ptf");
    w.key(u"version");
    w.integer(-1);
    w.key(u"label");
    w.string(u"PTF theme file");
    w.key(u"title");
    w.string(ptf.title);
    w.endObject();
    return w.text();
}

QString ptfNotChecked(const QString& path, const PtfFile& ptf) {
    return QStringLiteral("%1 is a PTF theme file%2, not a module or a CXMB theme: check has no checks "
                          "for it; make a CXMB theme of it with quillmark-cli theme OUT.ctf --ptf %1")
        .arg(path, titled(ptf));
}

} // namespace qm::cli
