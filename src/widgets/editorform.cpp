#include "editorform.h"

namespace qm::ui {

QString EditorForm::openFile() const {
    QString file = statusFile();
    if (file.endsWith(QLatin1Char(' ')))
        file.chop(1);
    return file;
}

} // namespace qm::ui
