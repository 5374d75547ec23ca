#pragma once

// What `quillmark-cli COMMAND --help` prints.

#include <QString>
#include <QStringView>

#include <optional>

namespace qm::cli {

// The usage, options and an example of one command; none for an unknown name.
std::optional<QString> commandHelpText(QStringView command);

} // namespace qm::cli
