#include "packingstep.h"

#include "configstore.h"
#include "packdialog.h"
#include "prx/header.h"
#include "widgets/dialogs.h"

namespace qm::ui {

bool PackingStep::ask() {
    m_header.clear();
    if (!m_config.compPrxNow() ||
        dialogs().showMessage(m_owner, QStringLiteral("Save PRX"),
                              QStringLiteral("Do you want compress PRX ?"), MsgIcon::Question,
                              MsgButtons::YesNo) != MsgAnswer::Yes)
        return true;
    const QString header =
        dialogs().chooseFile(m_owner, QString(), kPrxFilterName, kPrxFilterPattern,
                             QStringLiteral("Choose the *.prx file to header"), FileMode::Open);
    if (header.isEmpty())
        return false;
    auto isHeader = prx::isPspHeaderFile(header);
    if (!isHeader || !*isHeader) {
        dialogs().showMessage(m_owner, QStringLiteral("Error File"),
                              QStringLiteral("The header file it isn't a PRX File"), MsgIcon::Exclamation,
                              MsgButtons::Ok);
        return false;
    }
    m_header = header;
    return true;
}

bool PackingStep::run(const QString& module, const QString& output) const {
    PackDialog comp(module, m_header, output, m_owner);
    comp.exec();
    return comp.succeeded();
}

} // namespace qm::ui
