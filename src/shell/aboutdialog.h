#pragma once

// The About window: title and version, credits, the supported firmware
// releases and two links to the project's web pages.

#include <QDialog>
#include <QUrl>

#include <array>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace qm::ui {

class AboutDialog final : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static QUrl webAddress(int index);
    // Opens the web page of link `index` (0 or 1); other indices do nothing.
    void lblWeb_Click(int index);
    QLabel* webLabel(int index) const { return lblWeb[static_cast<std::size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, 2> lblWeb{};
    std::array<QPlainTextEdit*, 3> Text1{};
    QPushButton* Command1 = nullptr;
};

} // namespace qm::ui
