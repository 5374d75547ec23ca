#include "valueboxes.h"

#include "captionlabel.h"
#include "editorform.h"
#include "numberentry.h"
#include "prx/catalogue.h"
#include "prx/rules.h"
#include "typinglimit.h"
#include "valuebinding.h"
#include "valueframe.h"

#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>

#include <algorithm>

namespace qm::ui {
namespace {

QString nameOf(prx::ModuleKind kind, int member) {
    return kind == prx::ModuleKind::Vsh ? QString(prx::memberName(static_cast<prx::VshMember>(member)))
                                        : QString(prx::memberName(static_cast<prx::PafMember>(member)));
}

bool isText(prx::ModuleKind kind, int member) {
    return kind == prx::ModuleKind::Vsh &&
           prx::shapeOf(static_cast<prx::VshMember>(member)) == prx::Shape::Text;
}

bool isInteger(prx::ModuleKind kind, int member) {
    return kind == prx::ModuleKind::Vsh &&
           prx::shapeOf(static_cast<prx::VshMember>(member)) == prx::Shape::Integer;
}

} // namespace

QString stepName(const QString& caption) {
    QString name = caption.simplified();
    name.replace(QStringLiteral(" :"), QString());
    return name.trimmed();
}

QString captionWithMember(const QString& caption, const QString& member) {
    return QStringLiteral("%1 (%2)").arg(stepName(caption), member);
}

ValueBoxes::ValueBoxes(EditorForm* form, std::vector<BoxCaption> captions)
    : QObject(form), m_form(form), m_captions(std::move(captions)) {}

void ValueBoxes::detach() {
    for (auto& [member, box] : m_boxes)
        QObject::disconnect(box.edit, nullptr, &m_form->document(), nullptr);
}

const BoxCaption& ValueBoxes::row(int member) const {
    const auto it = std::find_if(m_captions.begin(), m_captions.end(),
                                 [member](const BoxCaption& c) { return c.member == member; });
    Q_ASSERT(it != m_captions.end());
    return *it;
}

const QString& ValueBoxes::caption(int member) const {
    return row(member).caption;
}

QLineEdit* ValueBoxes::makeBox(int member, QWidget* parent) {
    const prx::ModuleKind kind = m_form->moduleKind();
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(nameOf(kind, member));
    edit->setAccessibleName(caption(member).simplified());
    Box& box = m_boxes[member];
    box.edit = edit;
    if (isText(kind, member)) {
        noteWrittenLength(edit, prx::textMaxLength(static_cast<prx::VshMember>(member)));
    } else {
        edit->setFixedWidth(numberBoxWidth(QFontMetrics(m_form->font())));
        box.validator = makeNumberEntry(edit);
        box.validator->setNumberLocale(m_form->numberLocale());
    }
    box.binding =
        new ValueBinding(m_form->document(), m_form->numberLocale(), edit, member, stepName(caption(member)));
    return edit;
}

QGroupBox* ValueBoxes::makeFrame(const FrameSpec& plan, QWidget* parent, int textWidth) {
    QGroupBox* frame = makeValueFrame(plan.name, plan.title, parent);
    for (int member : plan.members) {
        QLineEdit* edit = makeBox(member, frame);
        if (isText(m_form->moduleKind(), member))
            edit->setFixedWidth(textWidth);
        m_boxes[member].label =
            addValueRow(frame, edit->objectName() + QStringLiteral("Label"), caption(member), edit);
    }
    return frame;
}

QLineEdit* ValueBoxes::box(int member) const {
    const auto it = m_boxes.find(member);
    return it == m_boxes.end() ? nullptr : it->second.edit;
}

QLabel* ValueBoxes::label(int member) const {
    const auto it = m_boxes.find(member);
    return it == m_boxes.end() ? nullptr : it->second.label;
}

void ValueBoxes::showValues() {
    for (auto& [member, box] : m_boxes)
        box.binding->show();
    fitNumberBoxes();
}

void ValueBoxes::fitNumberBoxes() {
    // Every number box as wide as the widest value the module holds
    // ("1.6777216e+07"), never narrower than the usual room nor so wide that
    // the captions beside them lose theirs.
    const int usual = numberBoxWidth(QFontMetrics(m_form->font()));
    int width = usual;
    for (const auto& [member, box] : m_boxes)
        if (box.validator && box.binding->present())
            width = std::max(width, boxWidthFor(box.edit, box.edit->text()));
    width = std::min(width, usual * 2);
    for (const auto& [member, box] : m_boxes)
        if (box.validator)
            box.edit->setFixedWidth(width);
}

void ValueBoxes::setEnabled(bool enabled) {
    for (auto& [member, box] : m_boxes) {
        box.edit->setEnabled(enabled);
        if (box.label)
            box.label->setEnabled(enabled);
    }
}

void ValueBoxes::setLocale(const QLocale& locale) {
    for (auto& [member, box] : m_boxes)
        if (box.validator)
            box.validator->setNumberLocale(locale);
}

Status ValueBoxes::entryFailure(const Box& box, int member) const {
    auto s = box.binding->entry();
    if (s)
        return s;
    return s.error().named(nameOf(m_form->moduleKind(), member));
}

Status ValueBoxes::checkEntries(QLineEdit*& refused) const {
    refused = nullptr;
    for (const BoxCaption& c : m_captions) {
        const Box& box = m_boxes.at(c.member);
        if (c.refusedEmpty && box.binding->present() && box.edit->isEnabled() && box.binding->empty()) {
            refused = box.edit;
            return Error::of(ErrorKind::Check, 0, Reason::ValueEmpty)
                .named(nameOf(m_form->moduleKind(), c.member));
        }
    }
    std::vector<int> order;
    for (const BoxCaption& c : m_captions)
        order.push_back(c.member);
    std::stable_partition(order.begin(), order.end(),
                          [this](int member) { return isInteger(m_form->moduleKind(), member); });
    for (int member : order)
        if (auto s = entryFailure(m_boxes.at(member), member); !s) {
            refused = m_boxes.at(member).edit;
            return s;
        }
    return {};
}

} // namespace qm::ui
