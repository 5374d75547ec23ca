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
    void openLink(int index);
    QLabel* webLink(int index) const { return m_links[static_cast<std::size_t>(index)]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::array<QLabel*, 2> m_links{};
    std::array<QPlainTextEdit*, 3> m_credits{};
    QPushButton* m_okButton = nullptr;
};

} // namespace qm::ui
