#include "ui/import/importdlg.h"

#include "db/fueldatabase.h"
#include "localisation/language.h"
#include "ui/messagebox.h"
#include "ui/widgettext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr int kPreviewLines = 5;
// Longer values are cut in the report after an import.
constexpr qsizetype kReportedValueLength = 40;

struct PickerDef {
    CsvValue value;
    const char16_t* objectName;
    const TextId* label;
    bool required;
};

// In the order the dialog shows them.
const PickerDef kPickers[] = {
    {CsvStation, u"station", &Text::Import_station, true},
    {CsvOdometer, u"odometer", &Text::Import_odometer, true},
    {CsvFuel, u"fuel", &Text::Import_fuel, true},
    {CsvCost, u"cost", &Text::Import_cost, true},
    {CsvNotes, u"notes", &Text::Import_notes, false},
    {CsvDate, u"date", &Text::Import_date, true},
    {CsvTime, u"time", &Text::Import_time, false},
    {CsvDriver, u"driver", &Text::Import_driver, false},
};

const PickerDef& pickerDef(CsvValue value) {
    return *std::find_if(std::begin(kPickers), std::end(kPickers),
                         [value](const PickerDef& def) { return def.value == value; });
}

// The picker's label without its closing colon, to name the value in a sentence.
QString valueName(CsvValue value) {
    QString name = translate(*pickerDef(value).label).trimmed();
    if (name.endsWith(u':'))
        name.chop(1);
    return name.trimmed();
}

QString shortened(const QString& text) {
    if (text.size() <= kReportedValueLength)
        return text;
    return text.first(kReportedValueLength) + QChar(0x2026);
}

// "(3.) cost": the column's number and its header text.
QString columnEntry(int column, const QString& header) {
    return QStringLiteral("(%1.) %2").arg(column + 1).arg(header);
}

} // namespace

CImportDlg::CImportDlg(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("importDialog"));
    setModal(true);
    m_comment = new QLabel(this);
    m_comment->setObjectName(QStringLiteral("comment"));
    m_comment->setWordWrap(true);

    auto* form = new QGridLayout;
    QWidget* previous = nullptr;
    for (const PickerDef& def : kPickers) {
        const std::size_t value = std::size_t(def.value);
        auto* picker = new QComboBox(this);
        picker->setObjectName(QString::fromUtf16(def.objectName));
        auto* label = new QLabel(this);
        label->setObjectName(picker->objectName() + QStringLiteral("Label"));
        label->setBuddy(picker);
        const int row = form->rowCount();
        form->addWidget(label, row, 0);
        form->addWidget(picker, row, 1);
        if (previous)
            setTabOrder(previous, picker);
        previous = picker;
        m_labels[value] = label;
        m_pickers[value] = picker;
    }
    form->setColumnStretch(1, 1);

    m_previewLabel = new QLabel(this);
    m_previewLabel->setObjectName(QStringLiteral("previewLabel"));
    m_preview = new QTableWidget(this);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_preview->setSelectionMode(QAbstractItemView::NoSelection);
    m_preview->setTabKeyNavigation(false);
    m_preview->verticalHeader()->hide();
    m_previewLabel->setBuddy(m_preview);

    m_ok = new QPushButton(this);
    m_ok->setObjectName(QStringLiteral("ok"));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(this);
    m_cancel->setObjectName(QStringLiteral("cancel"));
    setTabOrder(previous, m_preview);
    setTabOrder(m_preview, m_ok);
    setTabOrder(m_ok, m_cancel);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_comment);
    layout->addLayout(form);
    layout->addWidget(m_previewLabel);
    layout->addWidget(m_preview, 1);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &CImportDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CImportDlg::reject);
}

CImportDlg::~CImportDlg() = default;

int CImportDlg::doModal() {
    initDialog();
    return execDialog(*this);
}

void CImportDlg::initDialog() {
    QStringList header;
    QStringList names;
    QList<QStringList> lines;
    CCsvReader reader;
    CsvRecord record;
    if (reader.open(m_csvPath) && reader.readRecord(&record)) {
        header = record.rawFields;
        names = record.fields;
        while (lines.size() < kPreviewLines && reader.readRecord(&record)) {
            if (!record.isBlank())
                lines.append(record.fields);
        }
    }
    for (const PickerDef& def : kPickers)
        fillColumnPicker(m_pickers[std::size_t(def.value)], !def.required, header);
    // A header that names the values chooses their columns.
    std::array<QString, kCsvValueCount> labels;
    for (const PickerDef& def : kPickers)
        labels[std::size_t(def.value)] = translate(*def.label);
    const CsvColumnMap named = csvHeaderColumns(names, labels);
    for (std::size_t value = 0; value < named.size(); ++value) {
        if (named[value] >= 0)
            m_pickers[value]->setCurrentIndex(m_pickers[value]->findData(named[value]));
    }
    fillPreview(header, lines);
    translateControls();
    fitPreview();
    m_pickers[CsvStation]->setFocus();
}

void CImportDlg::translateControls() {
    setWindowTitle(translate(Text::Import_caption));
    m_comment->setText(translate(Text::Import_comment));
    for (const PickerDef& def : kPickers) {
        m_labels[std::size_t(def.value)]->setText(translatedWidgetText(*def.label));
        // Named by its label: a screen reader would otherwise read the column it shows.
        m_pickers[std::size_t(def.value)]->setAccessibleName(translate(*def.label));
    }
    m_previewLabel->setText(translatedWidgetText(Text::Import_preview));
    m_preview->setAccessibleName(translate(Text::Import_preview));
    m_ok->setText(translatedWidgetText(Text::Import_ok));
    m_cancel->setText(translatedWidgetText(Text::Import_cancel));
}

void CImportDlg::fillColumnPicker(QComboBox* picker, bool allowMissing, const QStringList& header) {
    picker->clear();
    if (allowMissing)
        picker->addItem(translate(Text::import_missing), -1);
    for (int column = 0; column < header.size(); ++column)
        picker->addItem(columnEntry(column, header.at(column)), column);
    picker->setCurrentIndex(picker->count() > 0 ? 0 : -1);
}

void CImportDlg::fillPreview(const QStringList& header, const QList<QStringList>& lines) {
    qsizetype columns = header.size();
    for (const QStringList& line : lines)
        columns = std::max(columns, line.size());
    m_preview->clear();
    m_preview->setColumnCount(int(columns));
    m_preview->setRowCount(int(lines.size()));
    QStringList labels;
    for (int column = 0; column < columns; ++column)
        labels.append(columnEntry(column, column < header.size() ? header.at(column) : QString()));
    m_preview->setHorizontalHeaderLabels(labels);
    for (int row = 0; row < lines.size(); ++row) {
        const QStringList& line = lines.at(row);
        for (int column = 0; column < line.size(); ++column)
            m_preview->setItem(row, column, new QTableWidgetItem(line.at(column)));
    }
    m_preview->resizeColumnsToContents();
}

// Wide enough to show every column of the preview, as far as the screen allows.
void CImportDlg::fitPreview() {
    const int previewWidth = m_preview->horizontalHeader()->length() + 2 * m_preview->frameWidth() +
                             m_preview->verticalScrollBar()->sizeHint().width();
    const int extra = sizeHint().width() - m_preview->sizeHint().width();
    int width = std::max(sizeHint().width(), previewWidth + std::max(extra, 0));
    if (const QScreen* shown = screen())
        width = std::min(width, shown->availableGeometry().width() * 9 / 10);
    resize(std::max(width, sizeHint().width()), sizeHint().height());
}

CsvColumnMap CImportDlg::columnMap() const {
    CsvColumnMap columns;
    for (std::size_t value = 0; value < columns.size(); ++value) {
        const QComboBox* picker = m_pickers[value];
        columns[value] = picker->currentIndex() < 0 ? -1 : picker->currentData().toInt();
    }
    return columns;
}

void CImportDlg::accept() {
    // Without a header there is nothing to choose: the import says what the file gives.
    const bool columnsOffered = m_pickers[CsvStation]->count() > 0;
    if (const std::optional<CsvUnassigned> unassigned = csvUnassignedValue(columnMap());
        unassigned && columnsOffered) {
        const QString name = valueName(unassigned->value);
        const QString text =
            unassigned->sharedWith < 0
                ? translate(Text::Import_nocolumn).arg(name)
                : translate(Text::Import_sharedcolumn)
                      .arg(valueName(CsvValue(unassigned->sharedWith)), name,
                           QString::number(columnMap()[std::size_t(unassigned->value)] + 1));
        showMessageBox(this, translate(Text::Import_importcaption), text, QMessageBox::Warning);
        m_pickers[std::size_t(unassigned->value)]->setFocus();
        return;
    }
    const CFuelDatabase empty;
    m_result = read(m_log ? *m_log : empty);
    QDialog::accept();
}

CsvImportResult CImportDlg::read(const CFuelDatabase& log) const {
    CCsvReader reader;
    if (!reader.open(m_csvPath)) {
        CsvImportResult failed;
        failed.readFailed = true;
        return failed;
    }
    return readCsvImport(reader, columnMap(), log);
}

QString CImportDlg::importReport(const CsvImportResult& result) {
    QStringList lines;
    // Success is only claimed when every line came in.
    if (result.imported == 0)
        lines.append(translate(Text::Import_nothingimported));
    else if (result.skipped == 0 && result.alreadyInLog == 0)
        lines.append(translate(Text::Import_imported));
    lines.append(translate(Text::Import_importedcount)
                     .arg(QString::number(result.imported), QString::number(result.skipped)));
    if (result.alreadyInLog > 0)
        lines.append(translate(Text::OtherLog_countalready).arg(result.alreadyInLog));
    for (const CsvSkippedLine& skipped : result.firstSkipped) {
        const QString value = valueName(skipped.reason.value);
        if (skipped.reason.status == CsvLineStatus::MissingColumn) {
            lines.append(translate(Text::Import_skippedcolumn)
                             .arg(QString::number(skipped.lineNumber), value));
        } else {
            lines.append(translate(Text::Import_skippedvalue)
                             .arg(QString::number(skipped.lineNumber), value,
                                  shortened(skipped.reason.text)));
        }
    }
    if (result.skipped > result.firstSkipped.size())
        lines.append(QString(QChar(0x2026)));
    return lines.join(u'\n');
}
