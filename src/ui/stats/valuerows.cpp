#include "ui/stats/valuerows.h"

#include "localisation/language.h"
#include "ui/elidinglabel.h"

#include <QDialog>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace {

QLabel* createLabel(QWidget* parent, const QString& name, bool eliding = false) {
    QLabel* label = eliding ? new CElidingLabel(parent) : new QLabel(parent);
    label->setObjectName(name);
    // Names and notes are shown as typed, never read as markup.
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

ValueRow addValueRow(QGridLayout* grid, const QString& name, ValueKind kind, bool withUnit) {
    QWidget* parent = grid->parentWidget();
    ValueRow row;
    row.label = createLabel(parent, name + QStringLiteral("Label"));
    row.value = createLabel(parent, name, kind == ValueKind::Text);
    row.value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    const int line = grid->rowCount();
    grid->addWidget(row.label, line, 0);
    if (kind == ValueKind::Number) {
        row.value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(row.value, line, 1);
    } else {
        grid->addWidget(row.value, line, 1, 1, 2);
    }
    if (withUnit) {
        row.unit = createLabel(parent, name + QStringLiteral("Unit"));
        grid->addWidget(row.unit, line, 2);
    }
    return row;
}

void translateValueRow(const ValueRow& row, const TextId& label, const TextId* unit) {
    setValueRowTexts(row, translate(label), unit ? translate(*unit) : QString());
}

void setValueRowTexts(const ValueRow& row, const QString& label, const QString& unit) {
    row.label->setText(label);
    // The value keeps its text as its name; the caption is its label for a screen reader.
    row.label->setBuddy(row.value);
    if (row.unit) {
        row.unit->setText(unit);
        row.value->setAccessibleDescription(row.unit->text());
    }
}

QPushButton* addCloseButton(QDialog* dialog) {
    auto* button = new QPushButton(QStringLiteral("OK"), dialog);
    button->setObjectName(QStringLiteral("ok"));
    button->setDefault(true);
    QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
    return button;
}
