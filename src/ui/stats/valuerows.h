#pragma once

// The read-only pages of figures: rows of a label, a value and a unit, and the button that
// closes the page.

#include <QString>

class QDialog;
class QGridLayout;
class QLabel;
class QPushButton;
struct TextId;

struct ValueRow {
    QLabel* label = nullptr;
    QLabel* value = nullptr;
    QLabel* unit = nullptr; // null for a row without a unit
};

enum class ValueKind { Text, Number };

// Adds a row named `name` (the value; the label and unit take "Label" and "Unit" after it).
// A number stands right-aligned with its unit beside it; a text takes the unit's place too.
ValueRow addValueRow(QGridLayout* grid, const QString& name, ValueKind kind, bool withUnit);

// Sets the translated label and unit; for screen readers the label labels the value and the
// unit describes it. A text that does not fit its room is shortened with "…", whole in its tip.
void translateValueRow(const ValueRow& row, const TextId& label, const TextId* unit);
// The same with texts made already (a unit of the log's own).
void setValueRowTexts(const ValueRow& row, const QString& label, const QString& unit);

// The "OK" button that closes the dialog, default for Enter (Escape closes it as well).
QPushButton* addCloseButton(QDialog* dialog);
