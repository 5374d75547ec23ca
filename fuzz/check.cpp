// The checks of a packed module over arbitrary bytes: the same named checks
// every time, the same answers whether the file comes whole or in pieces,
// and a file passes only when every check holds.
//
// Input: a byte that sets the piece size, then the file's bytes.

#include "compression/check.h"
#include "harness.h"

using namespace qm;
using namespace qm::compression;

namespace {

QString describe(const QList<PackedCheck>& checks) {
    QStringList out;
    for (const PackedCheck& c : checks)
        out.append(c.name + (c.ok ? QStringLiteral(" ok ") : QStringLiteral(" FAILED ")) + c.detail);
    return out.join(QStringLiteral("; "));
}

bool same(const QList<PackedCheck>& a, const QList<PackedCheck>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i].name != b[i].name || a[i].ok != b[i].ok || a[i].detail != b[i].detail)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Input in(data, size);
    const qsizetype piece = 1 + qsizetype(in.byte()) * 61;
    const QByteArrayView file = in.rest();

    static const QList<PackedCheck> names = checkPacked({});
    const QList<PackedCheck> whole = checkPacked(file);
    fuzz::require(whole.size() == names.size(), "the same checks every time", describe(whole));
    for (qsizetype i = 0; i < whole.size(); ++i) {
        fuzz::require(whole[i].name == names[i].name, "the checks in their order", whole[i].name);
        fuzz::require(!whole[i].detail.isEmpty(), "every check says what it found", whole[i].name);
    }

    PackedChecker pieces;
    for (qsizetype at = 0; at < file.size() && pieces.needsMore(); at += piece)
        pieces.feed(file.sliced(at, std::min(piece, file.size() - at)));
    const QList<PackedCheck> fed = pieces.finish(file.size());
    fuzz::require(same(whole, fed), "pieces give the answers of the whole file",
                  describe(whole) + QStringLiteral(" | ") + describe(fed));

    const Status required = requirePackedChecks(file);
    fuzz::require(required.ok() == allHold(whole), "a file passes exactly when every check holds",
                  fuzz::errorText(required));
    fuzz::require(required.ok() || required.error().kind == ErrorKind::Check,
                  "a failed check is a check error", fuzz::errorText(required));
    return 0;
}
