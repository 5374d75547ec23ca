#include "shell_helpers.h"

#include "support/fixtures.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

#include <zlib.h>

namespace qm::test {

DataFolder::DataFolder() : m_previous(qgetenv("QUILLMARK_DATA_DIR")) {
    qputenv("QUILLMARK_DATA_DIR", path().toLocal8Bit());
}

DataFolder::~DataFolder() {
    if (m_previous.isEmpty())
        qunsetenv("QUILLMARK_DATA_DIR");
    else
        qputenv("QUILLMARK_DATA_DIR", m_previous);
}

QByteArray gzip(const QByteArray& data) {
    z_stream zs{};
    deflateInit2(&zs, 1, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    QByteArray out(static_cast<qsizetype>(deflateBound(&zs, static_cast<uLong>(data.size()))) + 64, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.truncate(static_cast<qsizetype>(zs.total_out));
    deflateEnd(&zs);
    return out;
}

QByteArray packedModule(const QByteArray& module, quint8 keyByte) {
    return makePacked(gzip(module), static_cast<qint32>(module.size()), "paf", keyByte);
}

ProgressDriver::ProgressDriver(int keyIndex) : m_key(keyIndex) {
    m_timer.setInterval(20);
    connect(&m_timer, &QTimer::timeout, this, &ProgressDriver::poll);
    m_timer.start();
}

void ProgressDriver::poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal)
        return;
    auto* compress = modal->findChild<QPushButton*>(QStringLiteral("cmdCompress"));
    if (compress && compress->isVisible() && compress->isEnabled()) {
        if (m_key >= 0)
            if (auto* keys = modal->findChild<QComboBox*>(QStringLiteral("cboKey")))
                keys->setCurrentIndex(m_key);
        compress->click();
        return;
    }
    auto* ok = modal->findChild<QPushButton*>(QStringLiteral("cmdOK"));
    if (ok && ok->isVisible() && ok->isEnabled()) {
        ++okClicks;
        ok->click();
    }
}

} // namespace qm::test
