#pragma once

// Building blocks of the editor windows: titled frames of captioned value
// boxes, tab pages of frames in columns, the editors' dialog font.

#include <QString>

#include <vector>

class QFontMetrics;
class QGroupBox;
class QLineEdit;
class QWidget;

namespace qm::ui {

class CaptionLabel;

inline constexpr int kFrameSpacing = 6;

// A frame with a grid: captions on the left, boxes on the right.
QGroupBox* makeValueFrame(const QString& name, const QString& title, QWidget* parent);
// Adds `box` with its caption as the frame's next row. The caption labels
// the box for assistive tools (it is the box's buddy).
CaptionLabel* addValueRow(QGroupBox* frame, const QString& labelName, const QString& caption, QLineEdit* box);

// Room for a number such as "-123.456" and the box's frame; longer texts
// scroll inside the box.
int numberBoxWidth(const QFontMetrics& metrics);
// The width `box` needs to show all of `text` with its frame and margins.
int boxWidthFor(const QLineEdit* box, const QString& text);

// A tab page: the widgets of each column stand top to bottom, columns side
// by side with equal widths.
QWidget* makeColumnsPage(const QString& title, const std::vector<std::vector<QWidget*>>& columns);

// The editors' fixed sizes were laid out for an 8-point dialog font.
void useDialogFont(QWidget* window);

} // namespace qm::ui
